// SPDX-License-Identifier: GPL-2.0-or-later
// Drives the built tessaloom-page program: its command line, the page it writes and its refusals.
#include "support/PageFixtures.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace
{

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs program with standard error on a pseudo-terminal and standard output thrown away; returns
// what the terminal received, or nothing when the program did not end normally.
QByteArray runOnTerminal(const QString &program, const QStringList &arguments, int *exitCode)
{
    *exitCode = -1;
    std::vector<QByteArray> words{QFile::encodeName(program)};
    for (const QString &argument : arguments)
        words.push_back(QFile::encodeName(argument));
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    int master = -1, slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int nowhere = ::open("/dev/null", O_WRONLY);
        ::dup2(nowhere, STDOUT_FILENO);
        ::dup2(slave, STDERR_FILENO);
        ::close(master);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(slave);
    QByteArray shown;
    char buffer[4096];
    for (;;) { // EIO once the program has ended and closed the terminal
        const ssize_t got = ::read(master, buffer, sizeof buffer);
        if (got > 0)
            shown.append(buffer, got);
        else if (got < 0 && errno == EINTR)
            continue;
        else
            break;
    }
    ::close(master);
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return {};
    *exitCode = WEXITSTATUS(status);
    return shown;
}

QByteArray samplePageBytes()
{
    return QByteArray(PageFixtures::samplePage()).replace("\n", "\r\n") + "\r\n";
}

} // namespace

class tst_PageMakerCli : public QObject
{
    Q_OBJECT

private:
    Run run(const QStringList &arguments);
    QString program() const { return qEnvironmentVariable("TESSALOOM_BINARY_DIR") + "/app/tessaloom-page"; }

private Q_SLOTS:
    void initTestCase();
    void helpNamesEveryFlag();
    void manualNamesEveryFlagOfTheHelp();
    void helpExplains_data();
    void helpExplains();
    void samplePage();
    void neverOverwritesWithoutAsking();
    void counterInTheName();
    void optionsApplyInOrder_data();
    void optionsApplyInOrder();
    void usageErrors_data();
    void usageErrors();
    void runFailures_data();
    void runFailures();
    void refusedBeforeAnythingIsTouched_data();
    void refusedBeforeAnythingIsTouched();
    void clampedValuesAreSaid();
    void keepThumbnails_data();
    void keepThumbnails();
    void progressOnATerminal_data();
    void progressOnATerminal();
    void picturesCopiedIntoTheFolder();
    void thumbnailsLeaveTheList();
};

Run tst_PageMakerCli::run(const QStringList &arguments)
{
    QProcess process;
    process.start(program(), arguments);
    Run result;
    if (!process.waitForFinished(60000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

void tst_PageMakerCli::initTestCase()
{
    QVERIFY2(QFileInfo(program()).isExecutable(), qPrintable(program() + " is not built"));
}

void tst_PageMakerCli::helpNamesEveryFlag()
{
    const Run help = run({"--help"});
    QCOMPARE(help.exitCode, 0);
    for (const char *flag : {"--kind",
                             "--name",
                             "--title",
                             "--counter",
                             "--background-color",
                             "--background-picture",
                             "--text-color",
                             "--link-color",
                             "--visited-color",
                             "--sounds",
                             "--sound-picture",
                             "--labels",
                             "--thumbnails",
                             "--percent",
                             "--height",
                             "--width",
                             "--picture-border",
                             "--table-border",
                             "--columns",
                             "--overwrite",
                             "--keep-thumbnails",
                             "--quiet",
                             "--help"})
        QVERIFY2(help.out.contains(QLatin1String(flag)), flag);
}

// The manual page names every long option the help text names (in the manual's escaped form).
void tst_PageMakerCli::manualNamesEveryFlagOfTheHelp()
{
    const Run help = run({"--help"});
    QCOMPARE(help.exitCode, 0);
    QFile manual(qEnvironmentVariable("TESSALOOM_SOURCE_DIR") + "/dist/tessaloom-page.1.in");
    QVERIFY2(manual.open(QIODevice::ReadOnly), qPrintable(manual.fileName()));
    const QString text = QString::fromUtf8(manual.readAll());
    static const QRegularExpression flag(QStringLiteral("^\\s+(--[a-z-]+)"),
                                         QRegularExpression::MultilineOption);
    QStringList flags;
    for (auto match = flag.globalMatch(help.out); match.hasNext();)
        flags << match.next().captured(1);
    QVERIFY2(flags.contains("--posters") && flags.size() > 20, qPrintable(flags.join(' ')));
    for (const QString &name : std::as_const(flags)) {
        const QString escaped = QString(name).replace(QLatin1Char('-'), QLatin1String("\\-"));
        QVERIFY2(text.contains(escaped), qPrintable(name));
    }
}

void tst_PageMakerCli::helpExplains_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("a page without size attributes") << "For a page without them, give --thumbnails off";
    QTest::newRow("sizes") << "--height N, --width N        explicit picture height/width, 0 to 500";
    QTest::newRow("borders") << "table border, 0 to 20";
    QTest::newRow("columns") << "cells in each row, 1 to 20";
    QTest::newRow("clamping") << "A number outside its range is brought to the nearest\nend of it";
    QTest::newRow("sizes with sounds as text") << "give\n--sounds picture before them";
    QTest::newRow("a wrong folder") << "2 the command line is\nwrong (FOLDER not a folder included)";
}

void tst_PageMakerCli::helpExplains()
{
    QFETCH(QString, text);
    const Run help = run({"--help"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY2(help.out.contains(text), qPrintable(help.out));
}

void tst_PageMakerCli::samplePage()
{
    QTemporaryDir dir;
    QVERIFY(PageFixtures::writeSampleFolder(dir.path()));
    const Run made = run({dir.path(), "1", "--columns", "2", "--labels", "name,size"});
    QCOMPARE(made.exitCode, 0);
    const QString page = dir.filePath("MediaPage.htm");
    QVERIFY2(made.out.startsWith(page + " was created."), qPrintable(made.out + made.err));
    QCOMPARE(readAll(page), samplePageBytes());
}

void tst_PageMakerCli::neverOverwritesWithoutAsking()
{
    QTemporaryDir dir;
    QVERIFY(PageFixtures::writeSampleFolder(dir.path()));
    const QString page = dir.filePath("MediaPage.htm");
    QVERIFY(PageFixtures::write(page, "the user's own page"));

    const Run refused = run({dir.path(), "gifjpg", "--columns=2", "--labels=name,size"});
    QCOMPARE(refused.exitCode, 1);
    QVERIFY2(refused.err.contains("tessaloom-page: " + page +
                                  " already exists... Overwrite? No. Give --overwrite to replace it.\n"),
             qPrintable(refused.err));
    QCOMPARE(readAll(page), QByteArray("the user's own page"));

    const Run replaced = run({dir.path(), "gifjpg", "--columns=2", "--labels=name,size", "--overwrite"});
    QCOMPARE(replaced.exitCode, 0);
    QCOMPARE(readAll(page), samplePageBytes());
}

void tst_PageMakerCli::counterInTheName()
{
    QTemporaryDir dir;
    QVERIFY(PageFixtures::writeSampleFolder(dir.path()));
    QCOMPARE(run({dir.path(), "3", "--counter", "007", "--name", "a.b.htm", "--title", "Owls"}).exitCode, 0);
    const QByteArray page = readAll(dir.filePath("a007.b.htm"));
    QVERIFY(page.contains("<TITLE>Owls</TITLE>"));
    QVERIFY(page.contains("owl.jpg") && page.contains("cat.jpg") && !page.contains("dog.gif"));
    // Digits only, as the help says: refused before the run, as a usage error.
    const Run bad = run({dir.path(), "3", "--counter", "1,000"});
    QCOMPARE(bad.exitCode, 2);
    QVERIFY2(bad.err.contains("--counter takes digits, not \"1,000\""), qPrintable(bad.err));
}

void tst_PageMakerCli::optionsApplyInOrder_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("catCell");
    QTest::newRow("height, then percent: the percentage wins")
        << QStringList{"--height", "100", "--percent", "25"}
        << R"(<TD><A HREF="cat.jpg"><IMG SRC="sm_cat.jpg" ALT="cat.jpg" HEIGHT=150 WIDTH=200 BORDER=0></A></TD>)";
    QTest::newRow("percent, then height: the height wins")
        << QStringList{"--percent", "2", "--height", "100"}
        << R"(<TD><A HREF="cat.jpg"><IMG SRC="sm_cat.jpg" ALT="cat.jpg" HEIGHT=100 BORDER=0></A></TD>)";
    QTest::newRow("thumbnails off: no percentage")
        << QStringList{"--thumbnails", "off", "--picture-border", "2"}
        << R"(<TD><A HREF="cat.jpg"><IMG SRC="cat.jpg" ALT="cat.jpg" BORDER=2></A></TD>)";
    QTest::newRow("thumbnails off, then on: 10 %")
        << QStringList{"--thumbnails", "off", "--thumbnails", "on"}
        << R"(<TD><A HREF="cat.jpg"><IMG SRC="sm_cat.jpg" ALT="cat.jpg" HEIGHT=60 WIDTH=80 BORDER=0></A></TD>)";
    QTest::newRow("width clamped to 500")
        << QStringList{"--width", "9000"}
        << R"(<TD><A HREF="cat.jpg"><IMG SRC="sm_cat.jpg" ALT="cat.jpg" WIDTH=500 BORDER=0></A></TD>)";
}

void tst_PageMakerCli::optionsApplyInOrder()
{
    QFETCH(QStringList, options);
    QFETCH(QString, catCell);
    QTemporaryDir dir;
    QVERIFY(PageFixtures::writeSampleFolder(dir.path()));
    const Run made = run(QStringList{dir.path(), "jpg"} + options);
    QCOMPARE(made.exitCode, 0);
    const QStringList lines = QString::fromLatin1(readAll(dir.filePath("MediaPage.htm"))).split("\r\n");
    QVERIFY2(lines.contains(catCell), qPrintable(lines.join('\n')));
}

void tst_PageMakerCli::usageErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing") << QStringList{} << "no folder given";
    QTest::newRow("no kind") << QStringList{"/tmp"} << "no media kind given";
    QTest::newRow("kind 9") << QStringList{"/tmp", "9"} << "unknown media kind \"9\"";
    QTest::newRow("kind name") << QStringList{"/tmp", "png"} << "unknown media kind \"png\"";
    QTest::newRow("unknown flag") << QStringList{"/tmp", "1", "--colour", "red"} << "unknown option --colour";
    QTest::newRow("unknown flag last") << QStringList{"/tmp", "1", "--colour"} << "unknown option --colour";
    QTest::newRow("unknown short flag") << QStringList{"/tmp", "1", "-x"} << "unknown option -x";
    QTest::newRow("missing value") << QStringList{"/tmp", "1", "--columns"} << "--columns needs a value";
    QTest::newRow("missing value, one dash") << QStringList{"/tmp", "1", "-width"} << "-width needs a value";
    QTest::newRow("switch with a value")
        << QStringList{"/tmp", "1", "--overwrite=yes"} << "--overwrite takes no value";
    QTest::newRow("two kinds") << QStringList{"/tmp", "jpg", "--kind", "gif"}
                               << "two media kinds given, \"jpg\" and \"gif\"";
    QTest::newRow("two kinds as flags")
        << QStringList{"/tmp", "--kind=3", "--kind", "wav"} << "two media kinds given, \"3\" and \"wav\"";
    QTest::newRow("not a folder") << QStringList{"/nonexistent/pics", "jpg"}
                                  << "/nonexistent/pics is not a folder.";
    QTest::newRow("not a number") << QStringList{"/tmp", "1", "--columns", "two"} << "needs a whole number";
    QTest::newRow("bad colour") << QStringList{"/tmp", "1", "--text-color", "#12345G"} << "RRGGBB";
    QTest::newRow("bad sounds") << QStringList{"/tmp", "4", "--sounds", "loud"}
                                << "picture, text or underline";
    QTest::newRow("bad labels") << QStringList{"/tmp", "1", "--labels", "name,date"} << "--labels takes";
    QTest::newRow("bad percent") << QStringList{"/tmp", "1", "--percent", "75"} << "--percent takes";
    QTest::newRow("extra argument") << QStringList{"/tmp", "1", "more"} << "unexpected argument \"more\"";
}

void tst_PageMakerCli::usageErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run refused = run(arguments);
    QCOMPARE(refused.exitCode, 2);
    QVERIFY2(refused.err.startsWith("tessaloom-page: ") && refused.err.contains(message),
             qPrintable(refused.err));
    QCOMPARE(refused.out, QString());
}

void tst_PageMakerCli::runFailures_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("arguments"); // after the folder
    QTest::addColumn<QString>("message");
    QTest::newRow("empty folder") << QStringList{} << QStringList{"1"} << "There are no files to use...";
    QTest::newRow("unreadable picture")
        << QStringList{"a.jpg", "broken.jpg"} << QStringList{"jpg"} << "Error loading file (BROKEN.JPG)";
    QTest::newRow("sound picture missing")
        << QStringList{"a.wav"} << QStringList{"wav", "--sounds", "picture"}
        << "You need to choose a Picture for your Sounds.\nOr choose Text";
    QTest::newRow("only the background picture")
        << QStringList{"bg.jpg"} << QStringList{"jpg", "--background-picture", "%1/bg.jpg"}
        << "There are no files to use\n";
}

void tst_PageMakerCli::runFailures()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QTemporaryDir dir;
    for (const QString &name : files)
        QVERIFY(PageFixtures::write(dir.filePath(name),
                                    name == "a.jpg" || name == "bg.jpg" ? PageFixtures::jpeg(8, 8) : "junk"));
    for (QString &argument : arguments)
        argument.replace("%1", dir.path());
    const Run failed = run(QStringList{dir.path()} + arguments);
    QCOMPARE(failed.exitCode, 1);
    // Stops and failures alike go to standard error, after the program's name.
    QVERIFY2(failed.err.startsWith("tessaloom-page: " + message.arg(dir.path())), qPrintable(failed.err));
    QCOMPARE(failed.out, QString());
    QVERIFY(!QFile::exists(dir.filePath("MediaPage.htm")));
}

void tst_PageMakerCli::refusedBeforeAnythingIsTouched_data()
{
    QTest::addColumn<QStringList>("arguments"); // after the folder
    QTest::addColumn<QString>("message");
    QTest::newRow("no background picture") << QStringList{"jpg", "--background-picture", "%1/none.jpg"}
                                           << "--background-picture: there is no file \"%1/none.jpg\"";
    QTest::newRow("a folder as the sound picture")
        << QStringList{"wav", "--sounds", "picture", "--sound-picture", "%1"}
        << "--sound-picture: there is no file \"%1\"";
    QTest::newRow("height while sounds are text")
        << QStringList{"wav", "--height", "100", "--sounds", "picture"}
        << "--height can not be set while sounds are shown as text: give --sounds picture before it";
    QTest::newRow("border while sounds are text, after a percentage")
        << QStringList{"mid",      "--sounds",  "picture",          "--percent", "25",
                       "--sounds", "underline", "--picture-border", "2"}
        << "--picture-border can not be set while sounds are shown as text";
}

void tst_PageMakerCli::refusedBeforeAnythingIsTouched()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QVERIFY(PageFixtures::write(dir.filePath("a.jpg"), PageFixtures::jpeg(20, 10)));
    QVERIFY(PageFixtures::write(dir.filePath("sm_old.jpg"), PageFixtures::jpeg(10, 5)));
    QVERIFY(PageFixtures::write(dir.filePath("song.wav"), "RIFF"));
    QVERIFY(PageFixtures::write(dir.filePath("tune.mid"), "MThd"));
    QVERIFY(PageFixtures::write(dir.filePath("tune.mp3"), "ID3"));
    const QStringList before = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    for (QString &argument : arguments)
        argument.replace("%1", dir.path());
    const Run refused = run(QStringList{dir.path()} + arguments);
    QCOMPARE(refused.exitCode, 2);
    QVERIFY2(refused.err.startsWith("tessaloom-page: " + message.arg(dir.path())), qPrintable(refused.err));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), before);
}

void tst_PageMakerCli::clampedValuesAreSaid()
{
    QTemporaryDir dir;
    QVERIFY(PageFixtures::writeSampleFolder(dir.path()));
    const Run made = run({dir.path(), "jpg", "--width", "9000", "--columns", "0", "--table-border", "20"});
    QCOMPARE(made.exitCode, 0);
    QCOMPARE(made.err, QStringLiteral("tessaloom-page: --width 9000 is out of range: 500 is used\n"
                                      "tessaloom-page: --columns 0 is out of range: 1 is used\n"));
    QVERIFY(made.out.contains(" was created."));
}

void tst_PageMakerCli::keepThumbnails_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("kept");
    QTest::newRow("deleted first, as the name dialog's default") << QStringList{} << false;
    QTest::newRow("kept with --keep-thumbnails") << QStringList{"--keep-thumbnails"} << true;
    QTest::newRow("kept, the flag before the kind")
        << QStringList{"--keep-thumbnails", "--columns", "2"} << true;
}

void tst_PageMakerCli::keepThumbnails()
{
    QFETCH(QStringList, options);
    QFETCH(bool, kept);
    QTemporaryDir dir;
    QVERIFY(PageFixtures::write(dir.filePath("a.jpg"), PageFixtures::jpeg(20, 10)));
    QVERIFY(PageFixtures::write(dir.filePath("sm_a.jpg"), PageFixtures::jpeg(10, 5)));
    const Run made = run(QStringList{dir.path()} + options + QStringList{"jpg"});
    QCOMPARE(made.exitCode, 0);
    // An earlier thumbnail the clean-up does not take away stays in the list, and so in the page.
    const QByteArray page = readAll(dir.filePath("MediaPage.htm"));
    QCOMPARE(page.contains("<A HREF=\"sm_a.jpg\">"), kept);
    QVERIFY(page.contains("<A HREF=\"a.jpg\"><IMG SRC=\"sm_a.jpg\""));
}

void tst_PageMakerCli::progressOnATerminal_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("shown");
    QTest::newRow("shown") << QStringList{} << true;
    QTest::newRow("not with --quiet") << QStringList{"--quiet"} << false;
}

void tst_PageMakerCli::progressOnATerminal()
{
    QFETCH(QStringList, options);
    QFETCH(bool, shown);
    QTemporaryDir dir;
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"})
        QVERIFY(PageFixtures::write(dir.filePath(name), PageFixtures::jpeg(64, 48)));
    int exitCode = -1;
    const QByteArray terminal = runOnTerminal(program(), QStringList{dir.path(), "jpg"} + options, &exitCode);
    QCOMPARE(exitCode, 0);
    if (!shown) {
        QCOMPARE(terminal, QByteArray());
        return;
    }
    // Redrawn in place, the last state of each step on the line, then one newline (CR LF on a terminal).
    QVERIFY2(terminal.startsWith('\r'), terminal.constData());
    QVERIFY2(terminal.contains("\r4 of 4 pictures (100%)\r\n"), terminal.constData());
    QVERIFY2(terminal.endsWith("4 of 4 pictures (100%)\r\n"), terminal.constData());
    QVERIFY(!terminal.contains("was created")); // standard output is not the terminal

    // Standard error a pipe: no progress at all.
    const Run piped = run({dir.path(), "jpg", "--overwrite"});
    QCOMPARE(piped.exitCode, 0);
    QCOMPARE(piped.err, QString());
}

void tst_PageMakerCli::picturesCopiedIntoTheFolder()
{
    QTemporaryDir art;
    QTemporaryDir dir;
    QVERIFY(PageFixtures::write(art.filePath("my note.gif"), PageFixtures::gif(40, 30)));
    QVERIFY(PageFixtures::write(art.filePath("bg.jpg"), PageFixtures::jpeg(16, 16)));
    QVERIFY(PageFixtures::write(dir.filePath("song.wav"), "RIFF"));
    QVERIFY(PageFixtures::write(dir.filePath("bg.jpg"), "the user's own bg.jpg"));
    const Run made = run({dir.path(), "wav", "--sound-picture", art.filePath("my note.gif"), "--sounds",
                          "picture", "--percent", "50", "--background-picture", art.filePath("bg.jpg")});
    QCOMPARE(made.exitCode, 0);
    const QByteArray page = readAll(dir.filePath("MediaPage.htm"));
    QVERIFY2(page.contains("<BODY BACKGROUND=\"bg.jpg\">\r\n"), page.constData());
    QVERIFY2(
        page.contains("<TD><A HREF=\"song.wav\"><IMG SRC=\"my note.gif\" ALT=\"song.wav\" HEIGHT=15 WIDTH=20 "
                      "BORDER=0></A></TD>"),
        page.constData());
    QCOMPARE(readAll(dir.filePath("my note.gif")), PageFixtures::gif(40, 30));
    // The chosen background takes the place of the folder's older one, once the page is written.
    QCOMPARE(readAll(dir.filePath("bg.jpg")), PageFixtures::jpeg(16, 16));
}

void tst_PageMakerCli::thumbnailsLeaveTheList()
{
    // The same clean-up as the window's Create: earlier thumbnails are deleted and leave the list,
    // a person's own files are kept, and the thumbnails are made anew.
    QTemporaryDir dir;
    QVERIFY(PageFixtures::write(dir.filePath("a.jpg"), PageFixtures::jpeg(20, 10)));
    QVERIFY(PageFixtures::write(dir.filePath("sm_a.jpg"), PageFixtures::jpeg(10, 5)));
    QVERIFY(PageFixtures::write(dir.filePath("SM_Holiday.JPG"), PageFixtures::jpeg(10, 5)));
    QVERIFY(PageFixtures::write(dir.filePath("sm_notes.txt"), "notes"));
    QVERIFY(PageFixtures::write(dir.filePath("b.gif"), PageFixtures::gif(10, 5)));
    const Run made = run({dir.path(), "gifjpg"});
    QCOMPARE(made.exitCode, 0);
    const QByteArray page = readAll(dir.filePath("MediaPage.htm"));
    QVERIFY(page.contains("<A HREF=\"a.jpg\"><IMG SRC=\"sm_a.jpg\""));
    QVERIFY(!page.contains("HREF=\"sm_a.jpg\""));
    QVERIFY(page.contains("HREF=\"SM_Holiday.JPG\"")); // a person's picture, not a thumbnail of ours
    QVERIFY(page.contains("HREF=\"b.gif\""));
    QCOMPARE(readAll(dir.filePath("sm_notes.txt")), QByteArray("notes"));
    QVERIFY(QFile::exists(dir.filePath("SM_Holiday.JPG")));
    QVERIFY(QFile::exists(dir.filePath("sm_a.jpg"))); // made anew
    QVERIFY(readAll(dir.filePath("sm_a.jpg")) != PageFixtures::jpeg(10, 5));
}

QTEST_GUILESS_MAIN(tst_PageMakerCli)
#include "tst_PageMakerCli.moc"
