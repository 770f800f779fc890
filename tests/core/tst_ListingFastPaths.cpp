// SPDX-License-Identifier: GPL-2.0-or-later
// The folder listing and the natural order take fast paths for plain ASCII names; these tests hold
// them to the plain definitions: the mask matcher on decoded names, and a per-character comparison.
#include "core/FolderListing.h"
#include "core/MediaKinds.h"
#include "core/NaturalOrder.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

// The natural order written the plain way: fold every character, compare digit runs by value.
int referenceCompare(const QString &a, const QString &b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && a[i].unicode() < 0x80 && b[j].isDigit() && b[j].unicode() < 0x80) {
            qsizetype si = i, sj = j;
            while (si + 1 < a.size() && a[si] == u'0' && a[si + 1].unicode() >= '0' &&
                   a[si + 1].unicode() <= '9')
                ++si;
            while (sj + 1 < b.size() && b[sj] == u'0' && b[sj + 1].unicode() >= '0' &&
                   b[sj + 1].unicode() <= '9')
                ++sj;
            qsizetype ei = si, ej = sj;
            while (ei < a.size() && a[ei].unicode() >= '0' && a[ei].unicode() <= '9')
                ++ei;
            while (ej < b.size() && b[ej].unicode() >= '0' && b[ej].unicode() <= '9')
                ++ej;
            if (ei - si != ej - sj)
                return ei - si < ej - sj ? -1 : 1;
            if (const int c = a.mid(si, ei - si).compare(b.mid(sj, ej - sj)))
                return c < 0 ? -1 : 1;
            i = ei;
            j = ej;
            continue;
        }
        const QChar ca = a[i].toCaseFolded(), cb = b[j].toCaseFolded();
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    const int c = a.compare(b);
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

QString randomName(QRandomGenerator &random)
{
    static const QString pieces[] = {"a",      "B",      "z",          "0",   "00",     "7",      "12",
                                     "007",    " ",      "_",          ".",   "\u00e9", "\u00c9", "\u212a",
                                     "\u03a3", "\u03c3", "\U0001D400", "jpg", "JPG"};
    QString name;
    const int parts = random.bounded(1, 7);
    for (int p = 0; p < parts; ++p)
        name += pieces[random.bounded(int(std::size(pieces)))];
    return name;
}

int sign(int v)
{
    return v < 0 ? -1 : v > 0 ? 1 : 0;
}

QStringList trickyNames()
{
    const QStringList names{"a.jpg",
                            "B.JPG",
                            "c.Jpg",
                            "d.gif",
                            "e.GiF",
                            "f.jpeg",
                            "g.jpg.txt",
                            "jpg",
                            ".jpg",
                            "h.mp3",
                            "i.MP3",
                            "caf\u00e9.jpg",
                            "\u00e9t\u00e9.\u00e9",
                            "x.\u00c9",
                            "k.\u212apg",
                            "a b.wav",
                            "abc.jpg",
                            "img10.jpg",
                            "img9.jpg",
                            "sm_a.jpg",
                            "SM_B.JPG",
                            "sm_",
                            "sm_x",
                            "sm",
                            "\u017fm_c.jpg",
                            "s\u00e9_d.jpg",
                            "xsm_e.jpg"};
    return names;
}

} // namespace

class tst_ListingFastPaths : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void naturalCompareMatchesReference()
    {
        QRandomGenerator random(20261210);
        for (int n = 0; n < 20000; ++n) {
            const QString a = randomName(random), b = randomName(random);
            QVERIFY2(sign(naturalCompare(a, b)) == referenceCompare(a, b), qPrintable(a + " | " + b));
        }
    }

    void listingMatchesTheMaskMatcher_data()
    {
        QTest::addColumn<QString>("masks");
        QTest::newRow("pictures") << "*.gif;*.jpg;*.GIF;*.JPG";
        QTest::newRow("one suffix") << "*.mp3";
        QTest::newRow("a wildcard mask") << "a*.jpg;*.wav";
        QTest::newRow("non-ASCII suffix") << "*.\u00e9";
        QTest::newRow("every file") << "";
        QTest::newRow("thumbnails") << "sm_*.*";
        QTest::newRow("a head and a suffix") << "sm_*.*;*.wav";
    }

    void listingMatchesTheMaskMatcher()
    {
        QFETCH(QString, masks);
        QTemporaryDir dir;
        const QStringList names = trickyNames();
        for (const QString &name : names) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir(dir.path()).mkdir("folder.jpg"));
        QVERIFY(QFile::link(dir.filePath("a.jpg"), dir.filePath("link.jpg")));
        QStringList expected;
        for (const QString &name : names + QStringList{"link.jpg"})
            if (!name.startsWith('.') && MediaKinds::matchesMasks(name, masks))
                expected << name;
        std::sort(expected.begin(), expected.end(), naturalLess);
        QCOMPARE(listFolder(dir.path(), masks).names, expected);
    }

    // Each file's kinds are settled from its raw name when the folder is read: the same verdicts as
    // the mask matcher gives each kind's mask string.
    void kindsOfEachFileMatchTheMaskMatcher()
    {
        QTemporaryDir dir;
        for (const QString &name : trickyNames()) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const FolderEntries read = readFolderEntries(dir.path());
        QCOMPARE(read.entries.size(), trickyNames().size() - 1); // not the hidden ".jpg"
        for (const FolderEntry &entry : read.entries) {
            for (int code = mkGifJpg; code <= mkMpg; ++code) {
                const QString masks = QString::fromLatin1(MediaKinds::info(code)->masks);
                QCOMPARE(kindBitOfMasks(masks), quint16(1u << code));
                QVERIFY2(bool(entry.kinds & kindBitOfMasks(masks)) ==
                             MediaKinds::matchesMasks(entry.name, masks),
                         qPrintable(entry.name + " / " + masks));
            }
        }
        QCOMPARE(kindBitOfMasks("*.*"), quint16(0));
    }
};

QTEST_GUILESS_MAIN(tst_ListingFastPaths)
#include "tst_ListingFastPaths.moc"
