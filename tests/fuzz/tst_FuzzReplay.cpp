// SPDX-License-Identifier: GPL-2.0-or-later
// Replays every saved fuzz input (seeds and former crashes) through the same entry points the
// libFuzzer targets call, in every build.
#include "fuzz/FuzzEntries.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <functional>

using Entry = std::function<QString(QByteArrayView)>;
Q_DECLARE_METATYPE(Entry)

class tst_FuzzReplay : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void corpus_data();
    void corpus();
};

void tst_FuzzReplay::corpus_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<Entry>("entry");
    const QList<QPair<QString, Entry>> targets{
        {"jpeg_header", FuzzEntries::jpegHeader}, {"gif_header", FuzzEntries::gifHeader},
        {"html_escape", FuzzEntries::htmlEscape}, {"bmp_header", FuzzEntries::bmpHeader},
        {"gif_counts", FuzzEntries::gifCounts},   {"metafiles", FuzzEntries::metafiles},
        {"gif_frames", FuzzEntries::gifFrames}};
    const QString root = qEnvironmentVariable("TESSALOOM_SOURCE_DIR") + "/tests/corpus/";
    for (const auto &[target, entry] : targets) {
        const QDir dir(root + target);
        const QStringList files = dir.entryList(QDir::Files, QDir::Name);
        QVERIFY2(!files.isEmpty(), qPrintable("no corpus in " + dir.path()));
        for (const QString &file : files)
            QTest::addRow("%s/%s", qPrintable(target), qPrintable(file)) << dir.filePath(file) << entry;
    }
}

void tst_FuzzReplay::corpus()
{
    QFETCH(QString, path);
    QFETCH(Entry, entry);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString broken = entry(bytes);
    QVERIFY2(broken.isEmpty(), qPrintable(broken));
}

QTEST_GUILESS_MAIN(tst_FuzzReplay)
#include "tst_FuzzReplay.moc"
