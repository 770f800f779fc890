// SPDX-License-Identifier: GPL-2.0-or-later
#include "console/ConsoleUi.h"

#include "core/PageOptions.h"
#include "console/ConsolePageMaker.h"
#include "support/CapturedStream.h"
#include "support/RunFixtures.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>

// What the command-line maker does: one run over a folder, answered on the console.
struct ConsoleWorld {
    QTemporaryDir root;
    QString folder = root.filePath("pics");
    PageOptions options;
    CapturedStream out, err;
    QString opticalMount;

    ConsoleWorld() { QDir().mkpath(folder); }
    QString path(const QString &name) const { return JoinFolderFile(folder, name); }
    ConsoleSettings settings;
    bool make(MediaKind kind, bool overwrite, const QString &givenFolder = QString())
    {
        return makePageOnConsole(
            givenFolder.isEmpty() ? folder : givenFolder, kind, options, overwrite,
            [this](const QString &) { return opticalMount; }, out.file(), err.file(), {}, nullptr, settings);
    }
};

class TestConsoleUi : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newPage();
    void existingPage_data();
    void existingPage();
    void errorsGoToTheErrorStream();
    void refusals_data();
    void refusals();
    void nameDialogTakesTheOptions();
    void programNameAndProgressLine();
};

void TestConsoleUi::newPage()
{
    ConsoleWorld w;
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    QVERIFY(runWriteGif(w.path("b.gif")));
    w.options.setNameIncrement("12");
    // A folder given with a trailing separator is spelled as the folder tree spells it.
    QVERIFY(w.make(mkJpg, false, w.folder + "/"));
    QCOMPARE(w.out.text(), w.path("MediaPage12.htm") + " was created.\n");
    QCOMPARE(w.err.text(), QString());
    QVERIFY(runReadBytes(w.path("MediaPage12.htm")).contains("a.jpg"));
    QVERIFY(!runReadBytes(w.path("MediaPage12.htm")).contains("b.gif"));
    QVERIFY(QFile::exists(w.path("sm_a.jpg")));
    QCOMPARE(w.options.NameIncrement(), QStringLiteral("13"));
}

void TestConsoleUi::existingPage_data()
{
    QTest::addColumn<bool>("overwrite");
    QTest::newRow("kept without the flag") << false;
    QTest::newRow("replaced with the flag") << true;
}

void TestConsoleUi::existingPage()
{
    QFETCH(bool, overwrite);
    ConsoleWorld w;
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    QVERIFY(runWriteBytes(w.path("MediaPage.htm"), "old page"));
    QCOMPARE(w.make(mkJpg, overwrite), overwrite);
    const QString asked = w.path("MediaPage.htm") + " already exists... Overwrite?";
    if (overwrite) {
        QCOMPARE(w.out.text(), asked + " Yes.\n" + w.path("MediaPage.htm") + " was created.\n");
        QCOMPARE(w.err.text(), QString());
        QVERIFY(runReadBytes(w.path("MediaPage.htm")).startsWith("<HTML>"));
    } else {
        QCOMPARE(w.out.text(), QString());
        QCOMPARE(w.err.text(), asked + " No. Give --overwrite to replace it.\n");
        QCOMPARE(runReadBytes(w.path("MediaPage.htm")), QByteArray("old page"));
    }
}

void TestConsoleUi::errorsGoToTheErrorStream()
{
    ConsoleWorld w;
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    QVERIFY(runWriteBytes(w.path("x.jpg"), "no picture"));
    QVERIFY(!w.make(mkJpg, true));
    QCOMPARE(w.err.text(), QStringLiteral("Error loading file (X.JPG)\n"));
    QCOMPARE(w.out.text(), QString());

    // An overwrite that cannot be written is an error too, and nothing is written through the link.
    ConsoleWorld linked;
    QVERIFY(runWriteJpeg(linked.path("a.jpg"), 40, 30));
    QVERIFY(QFile::link(linked.root.filePath("elsewhere"), linked.path("MediaPage.htm")));
    QVERIFY(!linked.make(mkJpg, true));
    QVERIFY(linked.err.text().startsWith("Can not write the page " + linked.path("MediaPage.htm")));
    QVERIFY(!QFile::exists(linked.root.filePath("elsewhere")));
}

void TestConsoleUi::refusals_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    // A stop without a page is a failure: the error stream, as every failure.
    QTest::newRow("no files") << "empty"
                              << ""
                              << "There are no files to use...\n";
    QTest::newRow("optical disc") << "cdrom"
                                  << ""
                                  << "Can not write to CD ROM (/media/cdrom0)\n";
    QTest::newRow("no picture for sounds")
        << "sound"
        << ""
        << "You need to choose a Picture for your Sounds.\nOr choose Text for Sound intstead.\n";
}

void TestConsoleUi::refusals()
{
    QFETCH(QString, cause);
    QFETCH(QString, out);
    QFETCH(QString, err);
    ConsoleWorld w;
    QVERIFY(runWriteBytes(w.path("a.wav"), "RIFF"));
    if (cause == "cdrom")
        w.opticalMount = "/media/cdrom0";
    if (cause == "sound")
        w.options.setSoundChoice(PageOptions::UsePicture, true);
    QVERIFY(!w.make(cause == "empty" ? mkJpg : mkWav, false));
    QCOMPARE(w.out.text(), out);
    QCOMPARE(w.err.text(), err);
    QCOMPARE(QDir(w.folder).entryList(QDir::Files), QStringList{"a.wav"});
}

void TestConsoleUi::nameDialogTakesTheOptions()
{
    // Even asked for a name, the console has no dialog: the options' own texts come back.
    PageOptions options;
    options.setWebNameEdit("index.htm");
    options.setTitleEdit("Pictures");
    options.setNameIncrement("007");
    ConsoleUi ui(options, false, nullptr, nullptr);
    const NameDialogAnswer answer = ui.askPageName();
    QVERIFY(!answer.cancelled);
    QCOMPARE(answer.name, QStringLiteral("index.htm"));
    QCOMPARE(answer.title, QStringLiteral("Pictures"));
    QCOMPARE(answer.counter, QStringLiteral("007"));
}

void TestConsoleUi::programNameAndProgressLine()
{
    // Three pictures, one broken: its error steps round the progress line, which then comes back.
    ConsoleWorld w;
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    QVERIFY(runWriteBytes(w.path("b.jpg"), "no picture"));
    QVERIFY(runWriteJpeg(w.path("c.jpg"), 40, 30));
    w.settings = {QStringLiteral("maker"), true};
    w.options.setWidthEdit(20); // explicit sizes: the page is written, the thumbnail of b.jpg is not
    QVERIFY(w.make(mkJpg, false));
    const QString err = w.err.text();
    const QString shown = QStringLiteral("\r1 of 3 pictures (33%)"); // the first step is always drawn
    QVERIFY2(err.startsWith(shown), qPrintable(err));
    const qsizetype problem = err.indexOf("maker: Error Creating Thumbnail from b.jpg: ");
    QVERIFY2(problem > 0, qPrintable(err));
    static const QRegularExpression wiped(QStringLiteral("\r {20,}\r$"));
    QVERIFY2(wiped.match(err.left(problem)).hasMatch(), qPrintable(err)); // the line wiped first
    QVERIFY2(err.endsWith("\r3 of 3 pictures (100%)\n"), qPrintable(err));
    QCOMPARE(w.out.text(), w.path("MediaPage.htm") + " was created.\n");
}

QTEST_GUILESS_MAIN(TestConsoleUi)
#include "tst_ConsoleUi.moc"
