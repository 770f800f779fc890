// SPDX-License-Identifier: GPL-2.0-or-later
// Drives the built tessaloom-page program's --posters option over a folder of real movies.
#include "support/MovieFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace
{

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run pageMaker(const QStringList &arguments,
              const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
              const QString &workingFolder = QString())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingFolder);
    process.start(qEnvironmentVariable("TESSALOOM_BINARY_DIR") + "/app/tessaloom-page", arguments);
    Run run;
    if (!process.waitForFinished(120'000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestPageMakerPosters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void makesOnlyTheMissingPictures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("movies");
        QTest::addColumn<QString>("broken");
        QTest::newRow("avi") << "avi"
                             << QStringList{"One.avi:mjpeg:320x240", "two.part.avi:mpeg4:160x120",
                                            "Kept.avi:mjpeg:320x240"}
                             << "Broken.avi";
        QTest::newRow("mpg") << "mpg"
                             << QStringList{"One.mpg:mpeg1:320x240", "two.part.mpg:mpeg1:640x480",
                                            "Kept.mpg:mpeg1:160x120"}
                             << "Broken.mpg";
    }
    void makesOnlyTheMissingPictures()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, movies);
        QFETCH(QString, broken);
        QTemporaryDir dir;
        const QString failure = MovieFixtures::make(dir.path(), movies);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QFile bad(dir.filePath(broken));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("not a movie");
        bad.close();
        // Kept has its picture already, and it is not ours to replace.
        const QString kept = dir.filePath("Kept.jpg");
        QImage own(40, 30, QImage::Format_RGB32);
        own.fill(Qt::red);
        QVERIFY(own.save(kept, "JPEG"));
        const QByteArray keptBytes = contentOf(kept);

        const Run run = pageMaker({dir.path(), kind, "--posters", "missing"});
        // The broken movie has no picture, so the page itself cannot be built.
        QCOMPARE(run.exitCode, 1);
        const QStringList made{dir.filePath("One.jpg"), dir.filePath("two.part.jpg")};
        for (const QString &path : made) {
            QVERIFY2(run.out.contains(path + " was created."), qPrintable(run.out));
            QImage picture(path, "JPEG");
            QVERIFY(!picture.isNull());
            // One tenth of 75 frames: frame 7.
            QCOMPARE(MovieFixtures::frameNumberIn(picture, 5, 5), MovieFixtures::FrameCount / 10);
        }
        QCOMPARE(QImage(made.at(1)).size(), kind == "avi" ? QSize(154, 114) : QSize(320, 240));
        QVERIFY2(run.err.contains(dir.filePath(broken)), qPrintable(run.err));
        QVERIFY(run.out.contains("Movie pictures: 2 made, 1 failed."));
        QCOMPARE(contentOf(kept), keptBytes);
        QVERIFY(!QFileInfo::exists(dir.filePath("Broken.jpg")));

        // Without it, a second run finds nothing missing, and the page shows the pictures by name.
        QVERIFY(QFile::remove(dir.filePath(broken)));
        const QByteArray oneBytes = contentOf(made.at(0));
        const Run again = pageMaker({dir.path(), kind, "--posters=missing"});
        QCOMPARE(again.exitCode, 0);
        QVERIFY2(again.out.contains("Movie pictures: 0 made, 0 failed."), qPrintable(again.out));
        QCOMPARE(contentOf(made.at(0)), oneBytes);
        const QString page = QString::fromLatin1(contentOf(dir.filePath("MediaPage.htm")));
        QVERIFY2(page.contains("\"One.jpg\"") && page.contains("\"two.part.jpg\""), qPrintable(page));
    }

    // A folder named from the working folder, as typed in a terminal.
    void aRelativeFolderGetsItsPictures()
    {
        QTemporaryDir parent;
        QVERIFY(QDir(parent.path()).mkdir("Clips"));
        const QString folder = parent.filePath("Clips");
        const QString failure = MovieFixtures::make(folder, {"One.avi:mjpeg:160x120"});
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        const Run run = pageMaker({"Clips", "avi", "--posters", "missing"},
                                  QProcessEnvironment::systemEnvironment(), parent.path());
        QVERIFY2(run.out.contains("Movie pictures: 1 made, 0 failed."), qPrintable(run.out + run.err));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(MovieFixtures::frameNumberIn(QImage(folder + "/One.jpg", "JPEG"), 5, 5),
                 MovieFixtures::FrameCount / 10);
    }

    void withoutTheOptionNothingIsMade()
    {
        QTemporaryDir dir;
        const QString failure = MovieFixtures::make(dir.path(), {"One.avi:mjpeg:160x120"});
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        pageMaker({dir.path(), "avi"});
        QVERIFY(!QFileInfo::exists(dir.filePath("One.jpg")));
    }

    // With another run holding the folder, no picture is written either: exit 4 means nothing was done.
    void aBusyFolderGetsNoPictures()
    {
        QTemporaryDir dir;
        const QString failure = MovieFixtures::make(dir.path(), {"One.avi:mjpeg:160x120"});
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        const int held =
            ::open(QFile::encodeName(dir.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        QVERIFY(held >= 0);
        QCOMPARE(::flock(held, LOCK_EX), 0); // another run's hold, as runs take it
        const Run busy = pageMaker({dir.path(), "avi", "--posters", "missing"});
        QCOMPARE(busy.exitCode, 4);
        QVERIFY2(busy.err.contains("Another run is making a page in the folder"), qPrintable(busy.err));
        QVERIFY2(!busy.out.contains("was created"), qPrintable(busy.out));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"One.avi"});
        ::close(held);
        const Run free = pageMaker({dir.path(), "avi", "--posters", "missing"});
        QCOMPARE(free.exitCode, 0);
        QVERIFY(QFileInfo::exists(dir.filePath("One.jpg")));
    }

    // A person's file at a movie's picture name that is no picture is kept, counted and told.
    void aPictureNameTakenByAnotherFileIsTold()
    {
        QTemporaryDir dir;
        const QString failure = MovieFixtures::make(dir.path(), {"Taken.avi:mjpeg:160x120"});
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QFile notes(dir.filePath("Taken.jpg"));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("my notes\n");
        notes.close();
        const Run run = pageMaker({dir.path(), "avi", "--posters", "missing"});
        QVERIFY2(run.err.contains("tessaloom-page: The picture of the movie " + dir.filePath("Taken.avi") +
                                  ", " + dir.filePath("Taken.jpg") + ", is not a picture.\n"),
                 qPrintable(run.err));
        QVERIFY2(run.out.contains("Movie pictures: 0 made, 1 failed."), qPrintable(run.out));
        QCOMPARE(contentOf(dir.filePath("Taken.jpg")), QByteArray("my notes\n"));
    }

    // GStreamer's own reports (here a plugin that cannot be loaded, scanned in the program's own
    // process) reach the error stream as the program's one-line messages, never bare.
    void libraryReportsCarryTheProgramName()
    {
        QTemporaryDir dir;
        const QString failure = MovieFixtures::make(dir.path(), {"One.mpg:mpeg1:320x240"});
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        QTemporaryDir plugins;
        QFile broken(plugins.filePath("libgstbroken.so"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("not a plugin");
        broken.close();
        QTemporaryDir registry;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("GST_PLUGIN_PATH", plugins.path());
        environment.insert("GST_REGISTRY", registry.filePath("registry.bin"));
        environment.insert("GST_REGISTRY_FORK", "no");
        const Run run = pageMaker({dir.path(), "mpg", "--posters", "missing"}, environment);
        QVERIFY2(run.exitCode >= 0, "the program did not finish");
        const QStringList lines = run.err.split('\n', Qt::SkipEmptyParts);
        const auto reported = std::find_if(lines.begin(), lines.end(), [](const QString &line) {
            return line.startsWith("tessaloom-page: GStreamer-WARNING: ") && line.contains("libgstbroken.so");
        });
        QVERIFY2(reported != lines.end(), qPrintable(run.err));
        for (const QString &line : lines)
            QVERIFY2(line.startsWith("tessaloom-page: "), qPrintable(line));
    }

    void refusesAnUnknownValue()
    {
        QTemporaryDir dir;
        const Run run = pageMaker({dir.path(), "avi", "--posters", "all"});
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.contains("--posters takes missing or none"));
    }
};

QTEST_GUILESS_MAIN(TestPageMakerPosters)
#include "tst_PageMakerPosters.moc"
