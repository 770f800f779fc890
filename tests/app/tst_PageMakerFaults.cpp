// SPDX-License-Identifier: GPL-2.0-or-later
// Bad inputs, killed runs and concurrent runs through the built tessaloom-page program. Every case runs in
// a fresh folder with a sibling folder outside it; what the person owns is checked byte by byte (content,
// mode, link target) before and after: only the page and thumbnails of ours may change or appear.
#include "core/SafeFile.h"
#include "generator/ThumbnailMarker.h"
#include "generator/ThumbnailRender.h"
#include "support/PageFixtures.h"
#include "support/ThumbFixtures.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ThumbFixtures;

namespace
{

using Files = QMap<QString, QByteArray>;

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

QString program()
{
    return qEnvironmentVariable("TESSALOOM_BINARY_DIR") + "/app/tessaloom-page";
}

Run run(const QStringList &arguments)
{
    QProcess process;
    process.start(program(), arguments);
    Run result;
    if (!process.waitForFinished(120000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

// Every entry under a folder, by its raw name: type, mode, content digest or link target.
QMap<QByteArray, QByteArray> snapshot(const QString &folder)
{
    QMap<QByteArray, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QByteArray path = QFile::encodeName(it.next());
        struct stat st;
        if (::lstat(path.constData(), &st) != 0)
            continue;
        QByteArray record = QByteArray::number(st.st_mode, 8);
        if (S_ISLNK(st.st_mode)) {
            char target[4096];
            const ssize_t n = ::readlink(path.constData(), target, sizeof target);
            record += " -> " + QByteArray(target, n > 0 ? n : 0);
        } else if (S_ISREG(st.st_mode)) {
            QFile file(QFile::decodeName(path));
            if (file.open(QIODevice::ReadOnly))
                record += ' ' + QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
            else
                record += " unreadable";
        }
        entries.insert(path.mid(QFile::encodeName(folder).size() + 1), record);
    }
    return entries;
}

// Names the run may write: the page and thumbnails of pictures in the folder.
bool oursToWrite(const QByteArray &entry, const QString &folder)
{
    if (!entry.startsWith("pics/"))
        return false;
    const QByteArray name = entry.mid(5);
    if (name == "MediaPage.htm")
        return true;
    return name.startsWith("sm_") && !name.contains('/') &&
           isOwnThumbnail(folder + "/" + QFile::decodeName(name));
}

// One of our thumbnails, made from the picture named source.
QByteArray thumbnailOf(const QByteArray &picture, const QByteArray &source)
{
    PictureStamp stamp;
    stamp.name = source;
    return renderThumbnail(picture, ThumbnailRequest{}, stamp).jpeg;
}

QByteArray progressive(const QImage &picture)
{
    Jpeg how;
    how.progressive = true;
    return jpeg(picture, how);
}

QByteArray withColour(Colour colour)
{
    Jpeg how;
    how.colour = colour;
    return jpeg(photoPicture({64, 48}), how);
}

QByteArray withPrecision(int bits) // a SOF1 (extended) header declaring the given sample precision
{
    QByteArray data = jpeg(photoPicture({32, 32}));
    const qsizetype sof = data.indexOf(QByteArray("\xFF\xC0", 2));
    data[sof + 1] = char(0xC1);
    data[sof + 4] = char(bits);
    return data;
}

QByteArray withFrameMarker(char marker)
{
    QByteArray data = jpeg(photoPicture({32, 32}));
    data[data.indexOf(QByteArray("\xFF\xC0", 2)) + 1] = marker;
    return data;
}

} // namespace

class TestPageMakerFaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(program()).isExecutable(), qPrintable(program() + " is not built"));
    }

    void badInputs_data();
    void badInputs();
    void errorsOnePerLineEscaped();
    void helpDocumentsTheStatuses();
    void counterTakesDigitsOnly_data();
    void counterTakesDigitsOnly();
    void aBusyFolderIsRefused();
    void twoRunsAtOnce();
    void killedRunsLeaveNoPartialFile();
};

// Each row: files to make (name -> bytes; "->target" makes a link, "<fifo>" and "<dir>" those), the
// options after the folder, the exit status, a text standard error must hold, and thumbnails that must
// exist afterwards.
void TestPageMakerFaults::badInputs_data()
{
    QTest::addColumn<Files>("files");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("made");

    const QByteArray ok = jpeg(photoPicture({64, 48}));
    const QByteArray png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    const QStringList explicitSize{"--width", "40", "--height", "30"};
    const auto bad = [&](const char *tag, const QByteArray &bytes) {
        QTest::addRow("%s, percentage", tag) << Files{{"a.jpg", ok}, {"x.jpg", bytes}} << QStringList{"jpg"}
                                             << 1 << "Error loading file (X.JPG)" << QStringList{};
        QTest::addRow("%s, explicit size", tag)
            << Files{{"a.jpg", ok}, {"x.jpg", bytes}} << (QStringList{"jpg"} + explicitSize) << 3
            << "Error Creating Thumbnail from x.jpg: " << QStringList{"sm_a.jpg"};
    };
    bad("zero bytes", QByteArray());
    bad("bare FF D8", QByteArray("\xFF\xD8", 2));
    bad("cut at 100 bytes", ok.left(100));
    bad("text named .jpg", "hello\n");
    bad("PNG named .jpg", png);
    bad("GIF named .jpg", PageFixtures::gif(10, 10));
    bad("12-bit", withPrecision(12));
    bad("lossless", withFrameMarker(char(0xC3)));

    const auto refused = [&](const char *tag, const QByteArray &bytes) {
        QTest::addRow("%s: measured, thumbnail refused", tag)
            << Files{{"a.jpg", ok}, {"BIG.JPG", bytes}, {"z.jpg", ok}} << QStringList{"jpg"} << 3
            << "Error Creating Thumbnail from BIG.JPG: " << QStringList{"sm_a.jpg", "sm_z.jpg"};
    };
    refused("declares 65500 x 65500", declaredSizeBomb(65500, 65500));
    refused("declares 12000 x 9000", declaredSizeBomb(12000, 9000));
    refused("declares 10001 x 10000", declaredSizeBomb(10001, 10000));
    refused("progressive, declares 30000 x 30000",
            PageFixtures::withJpegSize(progressive(photoPicture({32, 32})), 30000, 30000));
    refused("1,010 scans", scanBomb(1010));
    refused("101 scans", scanBomb(101 - 10));

    QTest::newRow("colour layouts and codings")
        << Files{{"gray.jpg", withColour(Colour::Gray)},
                 {"cmyk.jpg", withColour(Colour::AdobeCmyk)},
                 {"ycck.jpg", withColour(Colour::AdobeYcck)},
                 {"prog.jpg", progressive(photoPicture({64, 48}))}}
        << QStringList{"jpg"} << 0 << ""
        << QStringList{"sm_gray.jpg", "sm_cmyk.jpg", "sm_ycck.jpg", "sm_prog.jpg"};
    QTest::newRow("FIFO and folder named like pictures")
        << Files{{"a.jpg", ok}, {"pipe.jpg", "<fifo>"}, {"dir.jpg", "<dir>"}} << QStringList{"jpg"} << 0 << ""
        << QStringList{"sm_a.jpg"};
    QTest::newRow("links planted at thumbnail names")
        << Files{{"a.jpg", ok},
                 {"b.jpg", ok},
                 {"c.jpg", ok},
                 {"d.jpg", ok},
                 {"sm_a.jpg", "->../outside/victim.jpg"},
                 {"sm_b.jpg", "->../outside/none.jpg"},
                 {"sm_c.jpg", "->%outside%/victim.jpg"}}
        << QStringList{"jpg"} << 3 << "Error Creating Thumbnail from a.jpg: " << QStringList{"sm_d.jpg"};
    QTest::newRow("picture links outside, dangling, looping, to devices")
        << Files{{"a.jpg", "->../outside/victim.jpg"},
                 {"gone.jpg", "->../outside/none.jpg"},
                 {"loop.jpg", "->loop.jpg"},
                 {"zero.jpg", "->/dev/zero"},
                 {"b.jpg", ok}}
        << QStringList{"jpg"} << 0 << "" << QStringList{"sm_a.jpg", "sm_b.jpg"};
    QTest::newRow("a person's sm_ files")
        << Files{{"a.jpg", ok},          {"x.jpg", ok},        {"sm_notes.txt", "notes"},
                 {"SM_Holiday.JPG", ok}, {"Sm_mixed.jpg", ok}, {"sm_x.jpg", png},
                 {"sm_y.jpg", png},      {"sm_photo.jpg", ok}, {"sm_dir", "<dir>"},
                 {"sm_dir.jpg", "<dir>"}}
        << QStringList{"jpg"} << 3
        << "Error Creating Thumbnail from x.jpg: sm_x.jpg is not a thumbnail of ours"
        << QStringList{"sm_a.jpg"};
    // A person's copy of one of our thumbnails carries our marker, naming the picture it was made from.
    QTest::newRow("a copy of our thumbnail under another name, no picture beside")
        << Files{{"a.jpg", ok}, {"sm_holiday.jpg", thumbnailOf(ok, "a.jpg")}} << QStringList{"jpg"} << 0 << ""
        << QStringList{"sm_a.jpg"};
    QTest::newRow("a copy of our thumbnail under another name, its picture beside")
        << Files{{"a.jpg", ok}, {"holiday.jpg", ok}, {"sm_holiday.jpg", thumbnailOf(ok, "a.jpg")}}
        << QStringList{"jpg"} << 3
        << "Error Creating Thumbnail from holiday.jpg: sm_holiday.jpg is not a thumbnail of ours and is kept"
        << QStringList{"sm_a.jpg"};
    QTest::newRow("a copy of our thumbnail under another name, thumbnails kept")
        << Files{{"a.jpg", ok}, {"sm_holiday.jpg", thumbnailOf(ok, "a.jpg")}}
        << QStringList{"jpg", "--keep-thumbnails"} << 0 << "" << QStringList{"sm_a.jpg", "sm_sm_holiday.jpg"};
    // What a crash may leave at a thumbnail's name never stops a run that keeps thumbnails.
    const QByteArray ourC = thumbnailOf(ok, "c.jpg");
    QTest::newRow("empty and damaged files at thumbnail names, thumbnails kept")
        << Files{{"a.jpg", ok}, {"sm_a.jpg", ""},
                 {"b.jpg", ok}, {"sm_b.jpg", "my notes"},
                 {"c.jpg", ok}, {"sm_c.jpg", ourC.left(ourC.size() / 2)},
                 {"d.jpg", ok}, {"sm_d.jpg", ok.left(100)}}
        << QStringList{"jpg", "--keep-thumbnails"} << 3
        << "Error Creating Thumbnail from b.jpg: sm_b.jpg is not a thumbnail of ours and is kept"
        << QStringList{"sm_a.jpg", "sm_c.jpg", "sm_d.jpg"};
    QTest::newRow("the page named like one of its pictures")
        << Files{{"a.jpg", ok}, {"b.jpg", ok}} << QStringList{"jpg", "--name", "a.jpg", "--overwrite"} << 1
        << "Can not write the page %folder%/a.jpg: a.jpg is a file of the page." << QStringList{};
    QTest::newRow("the page named like one of its pictures, with the counter")
        << Files{{"a.jpg", ok}, {"a2.jpg", ok}} << QStringList{"jpg", "--name", "a.jpg", "--counter", "2"}
        << 1 << "Can not write the page %folder%/a2.jpg: a2.jpg is a file of the page." << QStringList{};
    QTest::newRow("hostile names")
        << Files{{"new\nline.jpg", ok},
                 {"tab\there.jpg", ok},
                 {"esc\x1b[31mred.jpg", ok},
                 {" lead.jpg", ok},
                 {"-rf.jpg", ok},
                 {QString::fromUtf8("café.jpg"), ok},
                 {QString(251, 'n') + ".jpg", ok}}
        << QStringList{"jpg"} << 3 << "Error Creating Thumbnail from nnnn"
        << QStringList{"sm_new\nline.jpg", "sm_tab\there.jpg", "sm_esc\x1b[31mred.jpg",
                       "sm_ lead.jpg",     "sm_-rf.jpg",       QString::fromUtf8("sm_café.jpg")};
    QTest::newRow("a name that is not UTF-8")
        << Files{{"a.jpg", ok}, {"<raw>caf%E9.jpg", ok}} << QStringList{"jpg"} << 0
        << "1 file of the folder %folder% was skipped: its name is not valid UTF-8."
        << QStringList{"sm_a.jpg"};
}

void TestPageMakerFaults::badInputs()
{
    QFETCH(Files, files);
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QFETCH(QString, error);
    QFETCH(QStringList, made);

    QTemporaryDir root;
    const QString folder = root.filePath("pics");
    const QString outside = root.filePath("outside");
    QVERIFY(QDir().mkpath(folder) && QDir().mkpath(outside));
    QVERIFY(writeFile(outside + "/victim.jpg", jpeg(photoPicture({30, 20}))));
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        QByteArray path = QFile::encodeName(folder) + '/';
        if (it.key().startsWith("<raw>"))
            path += QByteArray::fromPercentEncoding(it.key().mid(5).toLatin1());
        else
            path += QFile::encodeName(it.key());
        const QByteArray &bytes = it.value();
        if (bytes == "<fifo>") {
            QCOMPARE(::mkfifo(path.constData(), 0644), 0);
        } else if (bytes == "<dir>") {
            QCOMPARE(::mkdir(path.constData(), 0755), 0);
        } else if (bytes.startsWith("->")) {
            const QByteArray target = bytes.mid(2).replace("%outside%", QFile::encodeName(outside));
            QCOMPARE(::symlink(target.constData(), path.constData()), 0);
        } else { // by its raw bytes: a name that is not UTF-8 would not survive a QString
            const int fd = ::open(path.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
            QVERIFY(fd >= 0);
            QCOMPARE(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
            ::close(fd);
        }
    }
    const auto before = snapshot(root.path());

    const Run result = run(QStringList{folder} + options);

    QVERIFY2(result.exitCode == status,
             qPrintable(QString("status %1\n%2%3").arg(result.exitCode).arg(result.out, result.err)));
    error.replace("%folder%", folder);
    QVERIFY2(result.err.contains(error), qPrintable(result.err));
    for (const QString &line : result.err.split('\n', Qt::SkipEmptyParts))
        QVERIFY2(!line.contains(QChar(0x1b)) && !line.contains('\t'), qPrintable(line));
    QVERIFY2(!result.out.contains("Error"), qPrintable(result.out)); // errors go to standard error only
    for (const QString &name : made)
        QVERIFY2(readThumbnailMarker(folder + "/" + name).has_value(), qPrintable(name));
    QCOMPARE(QFileInfo::exists(folder + "/MediaPage.htm"), status == 0 || status == 3);

    const auto after = snapshot(root.path());
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (oursToWrite(it.key(), folder))
            continue;
        QVERIFY2(after.value(it.key()) == it.value(), it.key().constData());
    }
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        QVERIFY2(before.contains(it.key()) || oursToWrite(it.key(), folder), it.key().constData());
}

void TestPageMakerFaults::errorsOnePerLineEscaped()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("good.jpg"), jpeg(photoPicture({40, 30}))));
    QVERIFY(writeFile(dir.filePath("forged\nError Creating Thumbnail from good.jpg\x1b[2J.jpg"), "junk"));
    const Run result = run({dir.path(), "jpg", "--width", "20", "--height", "15"});
    QCOMPARE(result.exitCode, 3);
    const QStringList lines = result.err.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.at(0).startsWith(
                 "tessaloom-page: Error Creating Thumbnail from forged\\nError Creating Thumbnail from "
                 "good.jpg\\x1B[2J.jpg: "),
             qPrintable(lines.at(0)));
    QCOMPARE(result.out, dir.filePath("MediaPage.htm") + " was created.\n");
}

void TestPageMakerFaults::helpDocumentsTheStatuses()
{
    const Run help = run({"--help"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY2(help.out.contains("3 the page was created but some thumbnails were not"), qPrintable(help.out));
    QVERIFY2(help.out.contains("4 another run holds the folder"), qPrintable(help.out));
}

void TestPageMakerFaults::counterTakesDigitsOnly_data()
{
    QTest::addColumn<QString>("counter");
    QTest::addColumn<bool>("taken");
    QTest::newRow("digits") << "007" << true;
    QTest::newRow("negative") << "-5" << false;
    QTest::newRow("with a plus") << "+5" << false;
    QTest::newRow("letters after") << "5x" << false;
    QTest::newRow("empty") << "" << false;
}

void TestPageMakerFaults::counterTakesDigitsOnly()
{
    QFETCH(QString, counter);
    QFETCH(bool, taken);
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("a.jpg"), jpeg(photoPicture({40, 30}))));
    const Run result = run({dir.path(), "jpg", "--counter=" + counter});
    QCOMPARE(result.exitCode, taken ? 0 : 2);
    if (!taken)
        QVERIFY2(result.err.startsWith("tessaloom-page: --counter takes digits, not \"" + counter + "\"\n"),
                 qPrintable(result.err));
    QCOMPARE(QDir(dir.path()).entryList({"*.htm"}, QDir::Files).size(), taken ? 1 : 0);
}

void TestPageMakerFaults::aBusyFolderIsRefused()
{
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("a.jpg"), jpeg(photoPicture({40, 30}))));
    // Another run's hold on the folder: a lock on a handle of it, as runs take it.
    const int held = ::open(QFile::encodeName(dir.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    QVERIFY(held >= 0);
    QCOMPARE(::flock(held, LOCK_EX), 0);
    const Run refused = run({dir.path(), "jpg"});
    QCOMPARE(refused.exitCode, 4);
    QCOMPARE(refused.err, "tessaloom-page: Another run is making a page in the folder " + dir.path() + ".\n");
    QVERIFY(!QFile::exists(dir.filePath("MediaPage.htm")));
    ::close(held);
    QCOMPARE(run({dir.path(), "jpg"}).exitCode, 0);
}

// Two runs on one folder at once: the second waits or refuses; the pages and thumbnails are whole.
void TestPageMakerFaults::twoRunsAtOnce()
{
    QTemporaryDir dir;
    const QByteArray picture = jpeg(photoPicture({48, 32}));
    for (int i = 0; i < 300; ++i)
        QVERIFY(writeFile(dir.filePath(QStringLiteral("p%1.jpg").arg(i, 3, 10, QLatin1Char('0'))), picture));
    for (int round = 0; round < 3; ++round) {
        QProcess first, second;
        const QStringList arguments{dir.path(), "jpg", "--overwrite"};
        first.start(program(), arguments);
        second.start(program(), arguments);
        QVERIFY(first.waitForFinished(120000) && second.waitForFinished(120000));
        const int a = first.exitCode(), b = second.exitCode();
        QVERIFY2((a == 0 || a == 4) && (b == 0 || b == 4) && (a == 0 || b == 0),
                 qPrintable(QString("%1 %2 %3")
                                .arg(a)
                                .arg(b)
                                .arg(QString::fromUtf8(first.readAllStandardError() +
                                                       second.readAllStandardError()))));
        for (int i = 0; i < 300; ++i) {
            const QString name = QStringLiteral("sm_p%1.jpg").arg(i, 3, 10, QLatin1Char('0'));
            QVERIFY2(readThumbnailMarker(dir.filePath(name)).has_value(), qPrintable(name));
        }
        QVERIFY(readFile(dir.filePath("MediaPage.htm")).endsWith("</HTML>\r\n"));
    }
}

// kill -9 at different moments of a 300-picture run: never a partial file under a final name, and no
// temporary file left behind.
void TestPageMakerFaults::killedRunsLeaveNoPartialFile()
{
    QTemporaryDir dir;
    const QByteArray picture = jpeg(photoPicture({320, 240}));
    for (int i = 0; i < 300; ++i)
        QVERIFY(writeFile(dir.filePath(QStringLiteral("p%1.jpg").arg(i, 3, 10, QLatin1Char('0'))), picture));
    for (int thumbnailsBeforeKill : {1, 40, 150}) {
        QProcess maker;
        maker.start(program(), {dir.path(), "jpg", "--overwrite"});
        QVERIFY(maker.waitForStarted());
        while (maker.state() == QProcess::Running &&
               QDir(dir.path()).entryList({"sm_*"}, QDir::Files).size() < thumbnailsBeforeKill)
            QTest::qWait(1);
        ::kill(pid_t(maker.processId()), SIGKILL);
        maker.waitForFinished();
        const QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString &name : names) {
            QVERIFY2(!name.startsWith(SafeFile::TemporaryMark), qPrintable(name));
            const QByteArray bytes = readFile(dir.filePath(name));
            if (name.startsWith("sm_"))
                QVERIFY2(bytes.endsWith("\xFF\xD9") && readThumbnailMarker(dir.filePath(name)).has_value(),
                         qPrintable(name));
            if (name == "MediaPage.htm")
                QVERIFY(bytes.endsWith("</HTML>\r\n"));
        }
        QVERIFY(names.contains("MediaPage.htm"));
    }
    // A stale temporary file of ours (as a file system without unnamed files leaves it) goes at the next
    // run; a person's files of like names stay.
    const QString stale = dir.filePath(QString::fromLatin1(SafeFile::TemporaryMark) + "Ab12Cd34Ef56");
    const QStringList theirs{dir.filePath(".tessaloom-backup"), dir.filePath(".tessaloom-photo1")};
    for (const QString &file : QStringList{stale} + theirs) {
        QVERIFY(writeFile(file, "half"));
        const time_t old = time(nullptr) - 600;
        const timespec times[2] = {{old, 0}, {old, 0}};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0), 0);
    }
    QCOMPARE(run({dir.path(), "jpg", "--overwrite"}).exitCode, 0);
    QVERIFY(!QFile::exists(stale));
    for (const QString &file : theirs)
        QCOMPARE(readFile(file), QByteArray("half"));
}

QTEST_GUILESS_MAIN(TestPageMakerFaults)
#include "tst_PageMakerFaults.moc"
