// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

class TestSafeFile : public QObject
{
    Q_OBJECT

    static QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static void write(const QString &path, const QByteArray &data)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(data);
    }

    static void age(const QString &path, int seconds)
    {
        const time_t then = std::time(nullptr) - seconds;
        const timespec times[2] = {{then, 0}, {then, 0}};
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
    }

private Q_SLOTS:
    // What a killed writer may leave is removed by the next run: ours by name, regular, a minute old.
    // Only a temporary file of ours goes: named exactly as the writer names them, a minute old, and not
    // held by a living writer. A person's file of any other name stays, however old.
    void removesStaleTemporaries_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind"); // file, held (a living writer's lock on it), link, folder
        QTest::addColumn<int>("ageSeconds");
        QTest::addColumn<bool>("removed");
        const QString ours = QString::fromLatin1(SafeFile::TemporaryMark);
        QTest::newRow("ours, two minutes old") << ours + "a1B2c3d4E5f6"
                                               << "file" << 120 << true;
        QTest::newRow("ours, a day old") << ours + "zzzzzzzzzzzz"
                                         << "file" << 86400 << true;
        QTest::newRow("ours, being written now") << ours + "Q9x8y7Q9x8y7"
                                                 << "file" << 0 << false;
        QTest::newRow("ours, 30 seconds old") << ours + "Q9x8y7Q9x8y7"
                                              << "file" << 30 << false;
        QTest::newRow("ours, old but its writer still holds it") << ours + "Q9x8y7Q9x8y7"
                                                                 << "held" << 86400 << false;
        QTest::newRow("a person's .tessaloom-backup") << ".tessaloom-backup"
                                                      << "file" << 86400 << false;
        QTest::newRow("a person's .tessaloom-photo1") << ".tessaloom-photo1"
                                                      << "file" << 86400 << false;
        QTest::newRow("a longer name") << ours + "a1B2c3d4E5f6.txt"
                                       << "file" << 120 << false;
        QTest::newRow("a shorter name") << ours + "abc"
                                        << "file" << 120 << false;
        QTest::newRow("a character no writer uses") << ours + "a1B2c3d4E5f-"
                                                    << "file" << 120 << false;
        QTest::newRow("a link of that name") << ours + "linktolinkto"
                                             << "link" << 120 << false;
        QTest::newRow("a folder of that name") << ours + "folderfolder"
                                               << "folder" << 120 << false;
    }
    void removesStaleTemporaries()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(int, ageSeconds);
        QFETCH(bool, removed);
        QTemporaryDir dir;
        QTemporaryDir outside;
        const QString path = dir.filePath(name);
        write(outside.filePath("target"), "theirs");
        if (kind == "file" || kind == "held")
            write(path, "half a thumbnail");
        else if (kind == "link")
            QVERIFY(QFile::link(outside.filePath("target"), path));
        else
            QVERIFY(QDir(dir.path()).mkdir(name));
        age(path, ageSeconds);
        QFile writer(path);
        if (kind == "held") {
            QVERIFY(writer.open(QIODevice::ReadWrite));
            QCOMPARE(::flock(writer.handle(), LOCK_EX), 0);
        }
        write(dir.filePath("a.jpg"), "picture");
        age(dir.filePath("a.jpg"), 86400);
        QCOMPARE(SafeFile::removeStaleTemporaries(dir.path()), removed ? 1 : 0);
        QCOMPARE(QFileInfo(path).exists() || QFileInfo(path).isSymLink(), !removed);
        QCOMPARE(read(dir.filePath("a.jpg")), QByteArray("picture"));
        QCOMPARE(read(outside.filePath("target")), QByteArray("theirs"));
    }

    // No named temporary file ever shows in the folder, and a new file gets a new file's mode.
    void writesThroughAnUnnamedFile_data()
    {
        QTest::addColumn<int>("mode"); // SafeFile::Replace
        QTest::addColumn<bool>("keepsOldMode");
        QTest::newRow("never replace") << int(SafeFile::Replace::Never) << false;
        QTest::newRow("replace, keeping the mode") << int(SafeFile::Replace::RegularFileOnly) << true;
        QTest::newRow("replace as new") << int(SafeFile::Replace::RegularFileAsNew) << false;
    }
    void writesThroughAnUnnamedFile()
    {
        QFETCH(int, mode);
        QFETCH(bool, keepsOldMode);
        QTemporaryDir dir;
        const QString file = dir.filePath("page.htm");
        const auto replace = SafeFile::Replace(mode);
        if (replace != SafeFile::Replace::Never) {
            write(file, "old");
            QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0600), 0);
        }
        QCOMPARE(SafeFile::writeAtomically(file, "new", replace), QString());
        QCOMPARE(read(file), QByteArray("new"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList{"page.htm"});
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &st), 0);
        const mode_t mask = ::umask(022);
        ::umask(mask);
        QCOMPARE(int(st.st_mode & 07777), keepsOldMode ? 0600 : int(0666 & ~mask));
        QCOMPARE(int(SafeFile::newFileMode()), int(0666 & ~mask));
    }

    void writesAndReplacesRegularFiles()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath("page.htm");
        QCOMPARE(SafeFile::writeAtomically(page, "one", SafeFile::Replace::RegularFileOnly), QString());
        QCOMPARE(read(page), QByteArray("one"));
        QCOMPARE(SafeFile::writeAtomically(page, "two", SafeFile::Replace::RegularFileOnly), QString());
        QCOMPARE(read(page), QByteArray("two"));
        QVERIFY(!SafeFile::writeAtomically(page, "three", SafeFile::Replace::Never).isEmpty());
        QCOMPARE(read(page), QByteArray("two"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"page.htm"});
    }
    void neverWritesThroughALink()
    {
        QTemporaryDir dir;
        const QString victim = dir.filePath("victim");
        write(victim, "precious");
        const QString link = dir.filePath("sm_a.jpg");
        QVERIFY(QFile::link(victim, link));
        QVERIFY(!SafeFile::writeAtomically(link, "x", SafeFile::Replace::RegularFileOnly).isEmpty());
        QVERIFY(!SafeFile::writeAtomically(link, "x", SafeFile::Replace::Never).isEmpty());
        QVERIFY(!SafeFile::copyNoReplace(dir.filePath("victim"), link).isEmpty());
        QCOMPARE(read(victim), QByteArray("precious"));
        const QString dangling = dir.filePath("bg.gif");
        QVERIFY(QFile::link(dir.filePath("nowhere"), dangling));
        QVERIFY(!SafeFile::copyNoReplace(victim, dangling).isEmpty());
        QVERIFY(!QFile::exists(dir.filePath("nowhere")));
    }
    void copyNeverReplaces()
    {
        QTemporaryDir dir;
        write(dir.filePath("a"), "new");
        write(dir.filePath("b"), "old");
        QVERIFY(!SafeFile::copyNoReplace(dir.filePath("a"), dir.filePath("b")).isEmpty());
        QCOMPARE(read(dir.filePath("b")), QByteArray("old"));
        QCOMPARE(SafeFile::copyNoReplace(dir.filePath("a"), dir.filePath("c")), QString());
        QCOMPARE(read(dir.filePath("c")), QByteArray("new"));
        QVERIFY(!SafeFile::copyNoReplace(dir.filePath("gone"), dir.filePath("d")).isEmpty());
    }
    void failedWriteLeavesOldFileWhole()
    {
        // A folder that cannot be written: the old file stays, no temporary is left.
        QTemporaryDir dir;
        const QString missing = dir.filePath("no/such/folder/page.htm");
        QVERIFY(!SafeFile::writeAtomically(missing, "x", SafeFile::Replace::RegularFileOnly).isEmpty());
        QVERIFY(!SafeFile::writeAtomically(dir.path(), "x", SafeFile::Replace::RegularFileOnly).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSafeFile)
#include "tst_SafeFile.moc"
