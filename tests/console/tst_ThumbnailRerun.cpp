// SPDX-License-Identifier: GPL-2.0-or-later
// A run that keeps the old thumbnails (the name dialog's delete check off) makes again only those that
// are not up to date, and leaves the folder as a full run would.

#include "console/ConsolePageMaker.h"
#include "core/PageOptions.h"
#include "generator/ThumbnailFreshness.h"
#include "generator/ThumbnailMaker.h"
#include "generator/ThumbnailMarker.h"
#include "generator/ThumbnailRender.h"
#include "media/PictureFile.h"
#include "support/ColourFixtures.h"
#include "support/ThumbFixtures.h"
#include "support/ThumbRecordingFeedback.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

using namespace ThumbFixtures;

namespace
{

// The sizes one run asks for: a percentage entry, or both explicit sizes when percent is -1.
struct Sizes {
    int percent = 0;
    QSize explicitSize;
};

void applySizes(PageOptions &options, const Sizes &sizes)
{
    options.setThumbnailer(true);
    if (sizes.percent >= 0) {
        options.choosePercent(sizes.percent);
    } else {
        options.setWidthEdit(sizes.explicitSize.width());
        options.setHeightEdit(sizes.explicitSize.height());
    }
}

bool setMtime(const QString &path, time_t secondsAgo)
{
    const timespec when{std::time(nullptr) - secondsAgo, 0};
    const timespec times[2] = {when, when};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

// Gives to the modification and access times of from, to the nanosecond, as touch -r does.
bool copyTimes(const QString &from, const QString &to)
{
    struct stat st;
    if (::stat(QFile::encodeName(from).constData(), &st) != 0)
        return false;
    const timespec times[2] = {st.st_atim, st.st_mtim};
    return ::utimensat(AT_FDCWD, QFile::encodeName(to).constData(), times, 0) == 0;
}

ino_t inode(const QString &path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

// The JPEG without its comment segments.
QByteArray withoutComments(const QByteArray &jpeg)
{
    QByteArray out = jpeg.left(2);
    qsizetype at = 2;
    while (at + 4 <= jpeg.size() && uchar(jpeg[at + 1]) != 0xDA) {
        const int length = uchar(jpeg[at + 2]) << 8 | uchar(jpeg[at + 3]);
        if (uchar(jpeg[at + 1]) != 0xFE)
            out += jpeg.mid(at, 2 + length);
        at += 2 + length;
    }
    return out + jpeg.mid(at);
}

const QStringList kPictures{"a.jpg", "b.jpg", "c.jpg"};

} // namespace

Q_DECLARE_METATYPE(Sizes)

class TestThumbnailRerun : public QObject
{
    Q_OBJECT

    QTemporaryDir m_root;
    QString m_folder;

    QString path(const QString &name) const { return QDir(m_folder).filePath(name); }

    // One run of the command-line maker over the folder, kind JPG, the page replaced.
    bool run(const Sizes &sizes, bool deleteOld)
    {
        std::FILE *sink = std::fopen("/dev/null", "w");
        PageOptions options;
        ConsoleRunReport report;
        makePageOnConsole(
            m_folder, mkJpg, options, true, [](const QString &) { return QString(); }, sink, sink,
            [&](PageOptions &o) {
                applySizes(o, sizes);
                o.setDeleteThumbnail(deleteOld);
            },
            &report);
        std::fclose(sink);
        return report.written && report.failedThumbnails == 0;
    }

private Q_SLOTS:
    void init()
    {
        m_folder = m_root.filePath(QString::fromUtf8(QTest::currentTestFunction()) + QLatin1Char('-') +
                                   QString::fromUtf8(QTest::currentDataTag()));
        QVERIFY(QDir().mkpath(m_folder));
        QVERIFY(writeJpeg(path("a.jpg"), photoPicture({200, 100})));
        // Stored on its side: only a header read that turns it sees the size the thumbnail has.
        Jpeg turned;
        turned.orientation = 6;
        QVERIFY(writeJpeg(path("b.jpg"), photoPicture({90, 160}), turned));
        QVERIFY(writeJpeg(path("c.jpg"), photoPicture({120, 120})));
        for (const QString &name : kPictures)
            QVERIFY(setMtime(path(name), 100)); // older than anything a run writes
    }

    void remakesOnlyWhatIsNotUpToDate_data()
    {
        QTest::addColumn<Sizes>("first");
        QTest::addColumn<Sizes>("second");
        QTest::addColumn<bool>("deleteOld");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("remade");
        const Sizes half{0, {}}, third{1, {}}, box{-1, {40, 30}}, wider{-1, {41, 30}};
        QTest::newRow("nothing changed") << half << half << false << "" << QStringList();
        QTest::newRow("explicit sizes, unchanged") << box << box << false << "" << QStringList();
        QTest::newRow("picture changed") << half << half << false << "rewrite a.jpg" << QStringList{"a.jpg"};
        QTest::newRow("picture touched") << half << half << false << "touch a.jpg" << QStringList{"a.jpg"};
        // Edited or replaced, its modification time set back as cp -p, tar, exiftool -P or touch -r do.
        QTest::newRow("picture replaced, same size and time")
            << half << half << false << "replace-keeping-time a.jpg" << QStringList{"a.jpg"};
        QTest::newRow("picture turned in place, time set back")
            << half << half << false << "turn-keeping-time b.jpg" << QStringList{"b.jpg"};
        QTest::newRow("thumbnail older than its picture")
            << half << half << false << "age sm_a.jpg" << QStringList{"a.jpg"};
        QTest::newRow("a person's own JPEG at the name")
            << half << half << false << "own sm_b.jpg" << QStringList{"b.jpg"};
        QTest::newRow("thumbnail without our marker")
            << half << half << false << "unmark sm_c.jpg" << QStringList{"c.jpg"};
        QTest::newRow("thumbnail cut short")
            << half << half << false << "cut sm_a.jpg" << QStringList{"a.jpg"};
        QTest::newRow("percentage changed") << half << third << false << "" << kPictures;
        QTest::newRow("explicit size changed") << box << wider << false << "" << kPictures;
        QTest::newRow("from a percentage to explicit sizes") << half << box << false << "" << kPictures;
        QTest::newRow("delete check on") << half << half << true << "" << kPictures;
    }
    void remakesOnlyWhatIsNotUpToDate()
    {
        QFETCH(Sizes, first);
        QFETCH(Sizes, second);
        QFETCH(bool, deleteOld);
        QFETCH(QString, change);
        QFETCH(QStringList, remade);
        QVERIFY(run(first, true));
        QHash<QString, ino_t> before;
        for (const QString &name : kPictures)
            before[name] = inode(path("sm_" + name));

        const QString action = change.section(' ', 0, 0);
        const QString target = path(change.section(' ', 1));
        if (action == "rewrite") {
            QVERIFY(writeJpeg(target, photoPicture({210, 100})));
            QVERIFY(setMtime(target, 50)); // still older than its thumbnail
        } else if (action == "replace-keeping-time") {
            const QByteArray old = readFile(target);
            Jpeg plainer;
            plainer.quality = 50;
            QByteArray other = jpeg(photoPicture({200, 100}).mirrored(true, true), plainer);
            QVERIFY(other.size() + 4 <= old.size());
            // Padded with a comment to the very size of the old one.
            const qsizetype pad = old.size() - other.size();
            other.insert(2, QByteArray("\xFF\xFE", 2) + char((pad - 2) >> 8) + char((pad - 2) & 0xFF) +
                                QByteArray(pad - 4, 'x'));
            QCOMPARE(other.size(), old.size());
            QVERIFY(writeFile(target + ".new", other));
            QVERIFY(copyTimes(target, target + ".new"));
            QVERIFY(QFile::remove(target) && QFile::rename(target + ".new", target));
        } else if (action == "turn-keeping-time") {
            QByteArray bytes = readFile(target);
            const qsizetype tag = bytes.indexOf(QByteArray("\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06", 10));
            QVERIFY(tag > 0);
            bytes[tag + 9] = 8; // turned the other way: the same sides, so the same thumbnail size
            QVERIFY(writeFile(target + ".times", QByteArray()));
            QVERIFY(copyTimes(target, target + ".times"));
            QFile file(target);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QCOMPARE(file.write(bytes), bytes.size());
            file.close();
            QVERIFY(copyTimes(target + ".times", target));
            QVERIFY(QFile::remove(target + ".times"));
        } else if (action == "touch") {
            QVERIFY(setMtime(target, 50));
        } else if (action == "age") {
            QVERIFY(setMtime(target, 200));
        } else if (action == "own") {
            QVERIFY(writeJpeg(target + ".new", photoPicture({45, 80})));
            QVERIFY(QFile::remove(target) && QFile::rename(target + ".new", target));
            before[change.section(' ', 1).mid(3)] = inode(target);
        } else if (action == "unmark") {
            const QByteArray bytes = withoutComments(readFile(target));
            QVERIFY(!findThumbnailMarker(bytes));
            QVERIFY(QFile::remove(target) && writeFile(target, bytes));
            before[change.section(' ', 1).mid(3)] = inode(target);
        } else if (action == "cut") {
            QVERIFY(QFile::resize(target, QFileInfo(target).size() / 2));
        }

        // Each thumbnail of before stays open through the run, so a deleted one's inode number cannot be
        // handed to its successor: a new inode number is a file made anew.
        std::vector<std::unique_ptr<QFile>> heldOpen;
        for (const QString &name : kPictures) {
            heldOpen.push_back(std::make_unique<QFile>(path("sm_" + name)));
            QVERIFY(heldOpen.back()->open(QIODevice::ReadOnly));
        }
        QVERIFY(run(second, deleteOld));
        QStringList remadeNow;
        for (const QString &name : kPictures)
            if (inode(path("sm_" + name)) != before[name])
                remadeNow << name;
        heldOpen.clear();
        QCOMPARE(remadeNow, remade);

        // Whatever was kept or made, the folder holds what a full run makes now.
        PageOptions options;
        applySizes(options, second);
        QStringList thumbnails = QDir(m_folder).entryList({"sm_*"}, QDir::Files);
        // Our kept thumbnails are no pictures of the page; a person's own sm_ JPEG (no marker of
        // ours) is, and gets a thumbnail of its own.
        const int ownPictures = deleteOld || (action != "own" && action != "unmark") ? 0 : 1;
        QCOMPARE(thumbnails.size(), 3 + ownPictures);
        const QByteArray page = readFile(path("MediaPage.htm"));
        QVERIFY(!page.isEmpty());
        QCOMPARE(page.count("HREF=\"sm_"), ownPictures);
        for (const QString &thumbnail : thumbnails) {
            const RenderedThumbnail fresh =
                renderThumbnailFile(path(thumbnail.mid(3)), thumbnailRequest(options));
            QVERIFY2(fresh.ok(), qPrintable(fresh.error));
            QVERIFY2(readFile(path(thumbnail)) == fresh.jpeg, qPrintable(thumbnail));
        }
    }

    // Thumbnails of earlier versions kept a profiled picture's stored numbers: a rerun makes those again
    // in sRGB and keeps the others.
    void remakesProfiledThumbnailsOfEarlierVersions_data()
    {
        QTest::addColumn<Sizes>("sizes");
        QTest::newRow("percentage") << Sizes{0, {}};
        QTest::newRow("explicit sizes") << Sizes{-1, {40, 30}};
    }
    void remakesProfiledThumbnailsOfEarlierVersions()
    {
        QFETCH(Sizes, sizes);
        Jpeg profiled;
        profiled.iccProfile = ColourFixtures::profile(ColourFixtures::Profile::ProPhoto);
        QVERIFY(writeJpeg(path("a.jpg"), photoPicture({200, 100}), profiled));
        Jpeg adobeExif;
        adobeExif.exifAdobeRgb = true;
        QVERIFY(writeJpeg(path("b.jpg"), photoPicture({200, 100}), adobeExif));
        for (const QString &name : kPictures)
            QVERIFY(setMtime(path(name), 100));
        QVERIFY(run(sizes, true));
        // Marked the way earlier versions marked them, and as new as before.
        QHash<QString, ino_t> before;
        for (const QString &name : kPictures) {
            const QString thumbnail = path("sm_" + name);
            auto marker = findThumbnailMarker(readFile(thumbnail));
            QVERIFY(marker && marker->colourManaged);
            marker->colourManaged = false;
            const QByteArray comment = marker->commentText();
            QVERIFY(!comment.contains("colour"));
            const QByteArray bytes = withoutComments(readFile(thumbnail));
            const int length = int(comment.size()) + 2;
            const QByteArray old = bytes.left(2) + QByteArray("\xFF\xFE", 2) + char(length >> 8) +
                                   char(length & 0xFF) + comment + bytes.mid(2);
            QVERIFY(writeFile(thumbnail, old));
            QVERIFY(setMtime(thumbnail, 10));
            before[name] = inode(thumbnail);
        }
        QVERIFY(run(sizes, false));
        QStringList remade;
        for (const QString &name : kPictures)
            if (inode(path("sm_" + name)) != before[name])
                remade << name;
        QCOMPARE(remade, QStringList({"a.jpg", "b.jpg"}));
        QVERIFY(findThumbnailMarker(readFile(path("sm_a.jpg")))->colourManaged);
    }

    // The progress steps once per name, kept thumbnails included, and nothing is reported.
    void keptThumbnailsStepTheProgress()
    {
        QVERIFY(run({0, {}}, true));
        PageOptions options;
        applySizes(options, {0, {}});
        options.setDeleteThumbnail(false);
        ThumbRecordingFeedback feedback;
        const ThumbnailOutcome outcome = MakeThumbnails(m_folder, kPictures, options, feedback);
        QCOMPARE(outcome.failed, 0);
        QCOMPARE(feedback.calls, QStringList({"max 3", "show", "step", "step", "step"}));
    }

    // The header read that sizes a kept thumbnail: exactly what the decoder sees, or nothing.
    void readsFrameFacts_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<int>("orientation");
        Jpeg turned;
        turned.orientation = 8;
        Jpeg progressive;
        progressive.progressive = true;
        const QByteArray plain = jpeg(photoPicture({64, 48}));
        QTest::newRow("plain") << plain << QSize(64, 48) << 1;
        QTest::newRow("turned") << jpeg(photoPicture({48, 64}), turned) << QSize(64, 48) << 8;
        QTest::newRow("progressive") << jpeg(photoPicture({30, 20}), progressive) << QSize(30, 20) << 1;
        // A large segment before the frame: the read goes on past its first block.
        QByteArray padded =
            plain.left(2) + QByteArray("\xFF\xE5\xFF\xFF", 4) + QByteArray(65533, 'x') + plain.mid(2);
        QTest::newRow("long segment first") << padded << QSize(64, 48) << 1;
        QTest::newRow("cut before its scan") << plain.left(100) << QSize() << 0;
        QTest::newRow("not a JPEG") << QByteArray("GIF89a and more bytes") << QSize() << 0;
    }
    void readsFrameFacts()
    {
        QFETCH(QByteArray, file);
        QFETCH(QSize, stored);
        QFETCH(int, orientation);
        const QString name = path("x.bin");
        QVERIFY(writeFile(name, file));
        const int fd = ::open(QFile::encodeName(name).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(fd >= 0);
        const auto facts = readJpegFrameFacts(fd);
        ::close(fd);
        QCOMPARE(facts.has_value(), stored.isValid());
        if (facts) {
            QCOMPARE(facts->stored, stored);
            QCOMPARE(facts->orientation, orientation);
        }
    }
};

QTEST_GUILESS_MAIN(TestThumbnailRerun)
#include "tst_ThumbnailRerun.moc"
