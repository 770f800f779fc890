// Drives the built tessaloom-page program: its command line, the page it writes and its refusals.
#include "support/PageFixtures.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

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
    void samplePage();
    void neverOverwritesWithoutAsking();
    void counterInTheName();
    void optionsApplyInOrder_data();
    void optionsApplyInOrder();
    void usageErrors_data();
    void usageErrors();
    void runFailures_data();
    void runFailures();
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
    for (const char *flag : {"--kind", "--name", "--title", "--counter", "--background-color", "--background-picture",
                             "--text-color", "--link-color", "--visited-color", "--sounds", "--sound-picture",
                             "--labels", "--thumbnails", "--percent", "--height", "--width", "--picture-border",
                             "--table-border", "--columns", "--overwrite", "--help"})
        QVERIFY2(help.out.contains(QLatin1String(flag)), flag);
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
    QVERIFY2(refused.out.contains(page + " already exists... Overwrite? No."), qPrintable(refused.out));
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
    const Run bad = run({dir.path(), "3", "--counter", "1,000"});
    QCOMPARE(bad.exitCode, 1);
    QVERIFY2(bad.err.contains("\"1,000\" is not a whole number"), qPrintable(bad.err));
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
    QTest::newRow("width clamped to 500") << QStringList{"--width", "9000"}
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
    QTest::newRow("missing value") << QStringList{"/tmp", "1", "--columns"} << "--columns needs a value";
    QTest::newRow("not a number") << QStringList{"/tmp", "1", "--columns", "two"} << "needs a whole number";
    QTest::newRow("bad colour") << QStringList{"/tmp", "1", "--text-color", "#12345G"} << "RRGGBB";
    QTest::newRow("bad sounds") << QStringList{"/tmp", "4", "--sounds", "loud"} << "picture, text or underline";
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
    QVERIFY2(refused.err.contains(message), qPrintable(refused.err));
}

void tst_PageMakerCli::runFailures_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("arguments"); // after the folder
    QTest::addColumn<QString>("message");
    QTest::newRow("empty folder") << QStringList{} << QStringList{"1"} << "There are no files to use...";
    QTest::newRow("unreadable picture")
        << QStringList{"a.jpg", "broken.jpg"} << QStringList{"jpg"}
        << "Error loading file (BROKEN.JPG)";
    QTest::newRow("sound picture missing") << QStringList{"a.wav"} << QStringList{"wav", "--sounds", "picture"}
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
    // Stops are the run's messages (standard output); failures its error boxes (standard error).
    QVERIFY2((failed.out + failed.err).contains(message.arg(dir.path())), qPrintable(failed.out + failed.err));
    QVERIFY(!QFile::exists(dir.filePath("MediaPage.htm")));
}

void tst_PageMakerCli::picturesCopiedIntoTheFolder()
{
    QTemporaryDir art;
    QTemporaryDir dir;
    QVERIFY(PageFixtures::write(art.filePath("my note.gif"), PageFixtures::gif(40, 30)));
    QVERIFY(PageFixtures::write(art.filePath("bg.jpg"), PageFixtures::jpeg(16, 16)));
    QVERIFY(PageFixtures::write(dir.filePath("song.wav"), "RIFF"));
    QVERIFY(PageFixtures::write(dir.filePath("bg.jpg"), "the user's own bg.jpg"));
    const Run made = run({dir.path(), "wav", "--sound-picture", art.filePath("my note.gif"), "--sounds", "picture",
                          "--percent", "50", "--background-picture", art.filePath("bg.jpg")});
    QCOMPARE(made.exitCode, 0);
    const QByteArray page = readAll(dir.filePath("MediaPage.htm"));
    QVERIFY2(page.contains("<BODY BACKGROUND=\"bg.jpg\">\r\n"), page.constData());
    QVERIFY2(page.contains("<TD><A HREF=\"song.wav\"><IMG SRC=\"my note.gif\" ALT=\"song.wav\" HEIGHT=15 WIDTH=20 "
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
