// SPDX-License-Identifier: GPL-2.0-or-later
#include "generator/GenerationRun.h"

#include "core/FolderHandle.h"
#include "core/MainState.h"
#include "core/MediaListing.h"
#include "core/PageOptions.h"
#include "generator/ThumbnailRender.h"
#include "support/RunWorld.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLocale>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

class TestGenerationRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stops_data();
    void stops();
    void stopLeavesIdleListing();
    void otherPagesKeepTheirThumbnails();
    void firstRunWithoutNameBox();
    void nameDialogAnswers();
    void cancelThenNameBoxOff();
    void pickListOrder();
    void backgroundPicture_data();
    void backgroundPicture();
    void quoteInsidePictureName_data();
    void quoteInsidePictureName();
    void overwriteDialog_data();
    void overwriteDialog();
    void overwriteOfLinkKeepsDialogOpen();
    void columnLowering();
    void corruptPicture();
    void unreadableCounter();
    void counterAcrossLocales_data();
    void counterAcrossLocales();
    void soundPicture_data();
    void soundPicture();
    void thumbnailNeverThroughLink_data();
    void thumbnailNeverThroughLink();
    void pageNameLeavingFolder();
    void folderGone();
    void secondPressDuringRun();
    void folderChosenDuringRun();
    void fullDisk_data();
    void fullDisk();
    void readOnlyFolder();
    void folderMovedDuringThumbnails_data();
    void folderMovedDuringThumbnails();
    void waitsForAnotherRunsFolder();
    void tellsOfSkippedNamesOncePerFolder();
};

void TestGenerationRun::stops_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<bool>("viewerClosed");

    QTest::newRow("empty pick list") << "pick"
                                     << "There are no files in the Pick List..."
                                     << "" << false;
    QTest::newRow("no files") << "empty"
                              << "There are no files to use..."
                              << "" << false;
    QTest::newRow("name dialog cancelled") << "cancel"
                                           << ""
                                           << "" << false;
    QTest::newRow("no picture for sounds")
        << "sound"
        << ""
        << "You need to choose a Picture for your Sounds.\nOr choose Text for Sound intstead." << false;
    QTest::newRow("optical disc") << "cdrom"
                                  << "Can not write to CD ROM (/media/cdrom0)"
                                  << "" << false;
    QTest::newRow("only thumbnails") << "thumbs"
                                     << "There are no files to use"
                                     << "" << true;
}

void TestGenerationRun::stops()
{
    QFETCH(QString, cause);
    QFETCH(QString, message);
    QFETCH(QString, warning);
    QFETCH(bool, viewerClosed);

    RunWorld w;
    QVERIFY(runWriteJpeg(w.path(cause == "thumbs" ? "sm_a.jpg" : "a.jpg"), 40, 30));
    if (cause == "thumbs") { // thumbnails of ours, their pictures gone
        const QByteArray picture = runReadBytes(w.path("sm_a.jpg"));
        for (const QByteArray name : {"a.jpg", "b.jpg"}) {
            PictureStamp stamp;
            stamp.name = name;
            const RenderedThumbnail ours = renderThumbnail(picture, ThumbnailRequest{}, stamp);
            QVERIFY(ours.ok());
            QVERIFY(runWriteBytes(w.path("sm_" + QString::fromLatin1(name)), ours.jpeg));
        }
    }
    if (cause == "sound") {
        QVERIFY(runWriteBytes(w.path("a.wav"), "RIFF"));
        w.show(mkWav);
        w.options.setSoundChoice(PageOptions::UsePicture, true);
    } else {
        w.show(cause == "empty" ? mkGif : mkJpg);
    }
    w.options.setUsePickList(cause == "pick");
    w.options.setNameIncrement("5");
    if (cause == "cancel")
        w.ui.nameDialog = [] {
            NameDialogAnswer answer;
            answer.cancelled = true;
            answer.name = "Other.htm";
            return answer;
        };
    if (cause == "cdrom")
        w.opticalMount = "/media/cdrom0";
    w.state.ViewerOpen = w.state.MWindowCheckBox = true;
    QSignalSpy finished(w.run.get(), &GenerationRun::runFinished);

    w.run->WebButtonClick();

    QCOMPARE(w.ui.messages, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(w.ui.warnings, warning.isEmpty() ? QStringList() : QStringList{warning});
    QVERIFY(w.ui.errorBoxes.isEmpty());
    QCOMPARE(w.pages(), QStringList());
    QCOMPARE(w.options.NameIncrement(), QStringLiteral("5"));
    QCOMPARE(w.options.WebNameEdit(), QStringLiteral("MediaPage.htm"));
    QVERIFY(!w.state.GenerationRunning);
    QCOMPARE(w.state.ViewerOpen, !viewerClosed);
    QCOMPARE(w.ui.count("closeViewer"), viewerClosed ? 1 : 0);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(0).toBool(), false);
    if (cause == "thumbs") // the names left the list, but a stop leaves every file as it was
        QCOMPARE(runFolderNames(w.folder), QStringList({"sm_a.jpg", "sm_b.jpg"}));
    else
        QVERIFY(QFile::exists(w.path(cause == "sound" ? "a.wav" : "a.jpg")));
}

void TestGenerationRun::stopLeavesIdleListing()
{
    // A run stopped for an empty pick list must not leave the window thinking a run is under way:
    // the next change of the folder rebuilds the working list and the label counts the folder.
    RunWorld w;
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    w.show(mkJpg);
    w.options.setUsePickList(true);
    w.run->WebButtonClick();
    QVERIFY(!w.state.GenerationRunning);

    QVERIFY(runWriteJpeg(w.path("b.jpg"), 40, 30));
    w.rows->reread();
    w.listing->FileListBoxSHChange();
    QCOMPARE(w.listing->FileListBox(), QStringList({"a.jpg", "b.jpg"}));
    QCOMPARE(w.listing->ListLabel(), QStringLiteral("JPG List: 2"));
}

void TestGenerationRun::firstRunWithoutNameBox()
{
    RunWorld w;
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 80, 60));
    QVERIFY(runWriteGif(w.path("b.gif")));
    w.show(mkGifJpg);
    w.options.setShownamebox(false);
    QSignalSpy written(w.run.get(), &GenerationRun::pageWritten);
    QSignalSpy finished(w.run.get(), &GenerationRun::runFinished);

    w.run->WebButtonClick();

    const QString page = w.path("MediaPage.htm");
    QCOMPARE(w.ui.count("askPageName"), 0);
    QCOMPARE(w.pages(), QStringList{"MediaPage.htm"});
    QCOMPARE(w.state.MyFile, page);
    const QByteArray bytes = runReadBytes(page);
    QVERIFY(bytes.startsWith("<HTML>\r\n"));
    QVERIFY(bytes.endsWith("\r\n"));
    QVERIFY(bytes.contains("<TITLE>MediaPage</TITLE>"));
    QVERIFY(QFileInfo(w.path("sm_a.jpg")).size() > 0); // thumbnails are on by default
    QVERIFY(!QFile::exists(w.path("sm_b.jpg")));
    QCOMPARE(w.ui.messages, QStringList{page + " was created."});
    QVERIFY(w.ui.errorBoxes.isEmpty());
    QCOMPARE(w.options.SizeDivisor(), 2.0); // the first run's preparation
    QCOMPARE(w.run->SoundPictureName(), QStringLiteral("None"));
    QVERIFY(!w.run->WebSourceMemo().isEmpty());
    // The viewer was made unseen for the build and closed at the end; the file list's first row
    // was selected before the folder was entered.
    QVERIFY(w.ui.calledInOrder({"selectFirstFileListRow", "createHiddenViewer", "progressCreate",
                                "progressCreate", "progressClose", "preview",
                                "showMessage:" + page + " was created.", "closeViewer"}));
    QVERIFY(!w.state.ViewerOpen && !w.state.MWindowCheckBox && !w.state.GenerationRunning);
    QCOMPARE(written.size(), 1);
    QCOMPARE(written.at(0).at(0).toString(), page);
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QCOMPARE(QDir::currentPath(), QFileInfo(w.folder).canonicalFilePath());
}

void TestGenerationRun::nameDialogAnswers()
{
    RunWorld w;
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    w.show(mkJpg);
    w.options.setPreviewit(false);
    w.ui.nameDialog = [] {
        NameDialogAnswer answer;
        answer.counter = "007";
        answer.name = "Gallery.htm";
        answer.title = "My pictures";
        return answer;
    };

    w.run->WebButtonClick();

    QCOMPARE(w.pages(), QStringList{"Gallery007.htm"});
    QVERIFY(w.pageText("Gallery007.htm").contains("<TITLE>My pictures</TITLE>"));
    QCOMPARE(w.options.NameIncrement(), QStringLiteral("008"));
    QCOMPARE(w.options.WebNameEdit(), QStringLiteral("Gallery.htm"));
    QCOMPARE(w.options.TitleEdit(), QStringLiteral("My pictures"));
    QCOMPARE(w.ui.count("askPageName"), 1);
    QCOMPARE(w.ui.count("preview"), 0);
}

void TestGenerationRun::cancelThenNameBoxOff()
{
    RunWorld w;
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    w.show(mkJpg);
    w.ui.nameDialog = [] {
        NameDialogAnswer answer;
        answer.cancelled = true;
        return answer;
    };
    w.run->WebButtonClick();
    QCOMPARE(w.pages(), QStringList());
    QVERIFY(w.ui.messages.isEmpty());

    w.options.setShownamebox(false);
    w.run->WebButtonClick();
    QCOMPARE(w.ui.count("askPageName"), 1);
    QCOMPARE(w.pages(), QStringList{"MediaPage.htm"});
}

void TestGenerationRun::pickListOrder()
{
    RunWorld w;
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg"})
        QVERIFY(runWriteJpeg(w.path(name), 40, 30));
    w.show(mkJpg);
    w.options.setUsePickList(true);
    w.options.setShownamebox(false);
    // Blank lines and control characters around the list vanish; a blank line inside it stays.
    w.pickList.entries = {"", " \t", "c.jpg", "", "a.jpg", "\t", ""};

    w.run->WebButtonClick();

    QCOMPARE(w.listing->FileListBox(), QStringList({"c.jpg", "", "a.jpg"}));
    const QString page = w.pageText();
    QVERIFY(page.indexOf("c.jpg") >= 0);
    QVERIFY(page.indexOf("c.jpg") < page.indexOf("a.jpg"));
    QVERIFY(!page.contains("b.jpg"));
    QVERIFY(QFile::exists(w.path("sm_c.jpg")) && QFile::exists(w.path("sm_a.jpg")));
    QVERIFY(!QFile::exists(w.path("sm_b.jpg")));
}

void TestGenerationRun::backgroundPicture_data()
{
    QTest::addColumn<QString>("pageFolder");
    QTest::addColumn<QString>("pictureFolder"); // relative to the temporary root; "." for the page folder
    QTest::addColumn<bool>("quoted");
    QTest::addColumn<bool>("oldPictureThere");
    QTest::addColumn<QString>("expected"); // content of bg.gif in the page folder after the run

    QTest::newRow("from elsewhere, replaces the older one") << "pics"
                                                            << "art" << false << true << "chosen";
    QTest::newRow("from elsewhere, quoted path with a blank") << "pics"
                                                              << "my art" << true << true << "chosen";
    QTest::newRow("from elsewhere, none there before") << "pics"
                                                       << "art" << false << false << "chosen";
    QTest::newRow("in the page folder, quoted path with a blank") << "my pics"
                                                                  << "my pics" << true << true << "old";
    QTest::newRow("in the page folder, spelled another way") << "pics"
                                                             << "pics/." << false << true << "old";
}

void TestGenerationRun::backgroundPicture()
{
    QFETCH(QString, pageFolder);
    QFETCH(QString, pictureFolder);
    QFETCH(bool, quoted);
    QFETCH(bool, oldPictureThere);
    QFETCH(QString, expected);

    RunWorld w(pageFolder);
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    const QString chosenFolder = w.root.filePath(pictureFolder);
    QDir().mkpath(chosenFolder);
    const bool samePlace =
        QFileInfo(chosenFolder).canonicalFilePath() == QFileInfo(w.folder).canonicalFilePath();
    if (oldPictureThere)
        QVERIFY(runWriteBytes(w.path("bg.gif"), "old"));
    if (!samePlace)
        QVERIFY(runWriteBytes(chosenFolder + "/bg.gif", "chosen"));
    w.show(mkGifJpg);
    w.options.setShownamebox(false);
    w.options.setBackgroundChoice(PageOptions::UseBackgroundPicture, true);
    const QString chosen = chosenFolder + "/bg.gif";
    w.options.setBackgroundfile(quoted ? "\"" + chosen + "\"" : chosen);

    w.run->WebButtonClick();

    QCOMPARE(w.pages(), QStringList{"MediaPage.htm"});
    QVERIFY(!w.listing->FileListBox().contains("bg.gif"));
    QVERIFY(w.listing->FileListBox().contains("a.jpg"));
    QVERIFY(!w.pageText().contains(QRegularExpression("HREF=\"(\\./)?bg\\.gif\""))); // never a cell
    QCOMPARE(runReadBytes(w.path("bg.gif")), expected.toLatin1());
    if (!samePlace)
        QCOMPARE(runReadBytes(chosen), QByteArray("chosen"));
    QVERIFY(!runFolderNames(w.folder).join(' ').contains(".tessaloom"));
}

// A double quote inside a picture's name is part of the name: the page, the take-out from the list and
// the copies all read the same name.
void TestGenerationRun::quoteInsidePictureName_data()
{
    QTest::addColumn<QString>("use");        // "background" or "sound"
    QTest::addColumn<QString>("fromFolder"); // where the chosen picture lies: "pics" is the page folder
    QTest::addColumn<QString>("reference");  // how the page refers to the picture

    QTest::newRow("background in the page folder") << "background"
                                                   << "pics"
                                                   << "BACKGROUND=\"my%22bg.gif\"";
    QTest::newRow("background from another folder") << "background"
                                                    << "art"
                                                    << "BACKGROUND=\"my%22bg.gif\"";
    QTest::newRow("sound picture, measured in percentage mode") << "sound"
                                                                << "art"
                                                                << "SRC=\"no%22te.jpg\"";
}

void TestGenerationRun::quoteInsidePictureName()
{
    QFETCH(QString, use);
    QFETCH(QString, fromFolder);
    QFETCH(QString, reference);

    RunWorld w;
    const bool sound = use == "sound";
    const QString name = sound ? "no\"te.jpg" : "my\"bg.gif";
    QDir().mkpath(w.root.filePath(fromFolder));
    const QString chosen = w.root.filePath(fromFolder + "/" + name);
    QVERIFY(sound ? runWriteJpeg(chosen, 40, 30) : runWriteGif(chosen));
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    QVERIFY(runWriteBytes(w.path("a.wav"), "RIFF"));
    w.show(sound ? mkWav : mkGifJpg);
    w.options.setShownamebox(false);
    if (sound) {
        w.options.setSoundChoice(PageOptions::UsePicture, true);
        w.options.setSoundPick(chosen);
        w.options.choosePercent(0);
    } else {
        w.options.setBackgroundChoice(PageOptions::UseBackgroundPicture, true);
        w.options.setBackgroundfile("\"" + chosen + "\""); // the chooser's pair of quotes
    }

    w.run->WebButtonClick();

    QVERIFY2(w.ui.errorBoxes.isEmpty(), qPrintable(w.ui.errorBoxes.join('\n')));
    QCOMPARE(w.pages(), QStringList{"MediaPage.htm"});
    const QString page = w.pageText();
    QVERIFY2(page.contains(reference), qPrintable(page));
    QVERIFY(!w.listing->FileListBox().contains(name)); // never a cell of its own
    QVERIFY(!page.contains("HREF=\"my%22bg.gif\""));
    QCOMPARE(runReadBytes(w.path(name)), runReadBytes(chosen)); // the file the page refers to is there
}

void TestGenerationRun::overwriteDialog_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("Cancel") << false;
}

void TestGenerationRun::overwriteDialog()
{
    QFETCH(bool, ok);
    RunWorld w;
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    QVERIFY(runWriteJpeg(w.path("Big Picture.JPG"), 40, 30));
    // The old page's thumbnail (ours, by its marker) of a picture since removed.
    QVERIFY(runWriteJpeg(w.path("sm_gone.jpg"), 20, 15));
    PictureStamp stamp;
    stamp.name = "gone.jpg";
    const RenderedThumbnail ours =
        renderThumbnail(runReadBytes(w.path("sm_gone.jpg")), ThumbnailRequest{}, stamp);
    QVERIFY(ours.ok());
    QVERIFY(runWriteBytes(w.path("sm_gone.jpg"), ours.jpeg));
    const QByteArray oldThumbnail = runReadBytes(w.path("sm_gone.jpg"));
    QDir().mkpath(w.root.filePath("art"));
    QVERIFY(runWriteBytes(w.root.filePath("art/bg.gif"), "chosen"));
    const QString page = w.path("MediaPage3.htm");
    QVERIFY(runWriteBytes(page, "old page"));
    w.show(mkJpg);
    w.options.setShownamebox(false);
    w.options.setNameIncrement("3");
    w.options.setBackgroundChoice(PageOptions::UseBackgroundPicture, true);
    w.options.setBackgroundfile(w.root.filePath("art/bg.gif"));
    w.ui.overwriteAnswer = ok ? RunScriptUi::OverwriteAnswer::Ok : RunScriptUi::OverwriteAnswer::Cancel;
    QSignalSpy finished(w.run.get(), &GenerationRun::runFinished);

    w.run->WebButtonClick();

    QCOMPARE(w.ui.overwriteTexts, QStringList{page + " already exists... Overwrite?"});
    QCOMPARE(w.options.NameIncrement(), QStringLiteral("4"));       // advanced whatever the answer
    QCOMPARE(runReadBytes(w.path("bg.gif")), QByteArray("chosen")); // copied whatever the answer
    QCOMPARE(w.state.MyFile, page);
    QVERIFY(!w.state.GenerationRunning && !w.state.ViewerOpen);
    QCOMPARE(finished.at(0).at(0).toBool(), ok);
    QVERIFY(!w.listing->FileListBox().contains("sm_gone.jpg"));
    if (ok) {
        QVERIFY(runReadBytes(page).startsWith("<HTML>\r\n"));
        QVERIFY(QFile::exists(w.path("sm_a.jpg")));
        // the thumbnail has exactly the name the page shows
        QVERIFY(QString::fromUtf8(runReadBytes(page)).contains("SRC=\"sm_Big Picture.JPG\""));
        QCOMPARE(QImage(w.path("sm_Big Picture.JPG"), "JPEG").width(), 20);
        QVERIFY(!QFile::exists(w.path("sm_gone.jpg")));
        QCOMPARE(w.ui.messages, QStringList{page + " was created."});
        QVERIFY(w.ui.calledInOrder({"confirmOverwrite", "progressCreate", "preview",
                                    "showMessage:" + page + " was created.", "closeViewer"}));
    } else {
        QCOMPARE(runReadBytes(page), QByteArray("old page"));
        QVERIFY(!QFile::exists(w.path("sm_a.jpg")));
        QCOMPARE(runReadBytes(w.path("sm_gone.jpg")), oldThumbnail); // the old page keeps its pictures
        QVERIFY(w.ui.messages.isEmpty());
        QCOMPARE(w.ui.count("preview"), 0);
        QVERIFY(w.ui.errorBoxes.isEmpty());
    }
}

void TestGenerationRun::overwriteOfLinkKeepsDialogOpen()
{
    // A link planted at the page's name, dangling or not, is never written through: OK shows the
    // failure in the dialog, and the place it points to stays as it was.
    RunWorld w;
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    const QString victim = w.root.filePath("victim.txt");
    QVERIFY(runWriteBytes(victim, "precious"));
    QVERIFY(QFile::link(victim, w.path("MediaPage.htm")));
    QVERIFY(QFile::link(w.root.filePath("nowhere"), w.path("Dangling.htm")));
    w.show(mkJpg);
    w.options.setShownamebox(false);
    w.ui.overwriteAnswer = RunScriptUi::OverwriteAnswer::Ok;

    w.run->WebButtonClick();
    w.options.setWebNameEdit("Dangling.htm");
    w.run->WebButtonClick();

    QCOMPARE(w.ui.count("overwriteFailed"), 2);
    QVERIFY(w.ui.overwriteErrors.at(0).contains(w.path("MediaPage.htm")));
    QVERIFY(w.ui.overwriteErrors.at(1).contains(w.path("Dangling.htm")));
    QCOMPARE(runReadBytes(victim), QByteArray("precious"));
    QVERIFY(!QFile::exists(w.root.filePath("nowhere")));
    QVERIFY(QFileInfo(w.path("MediaPage.htm")).isSymLink());
    QVERIFY(w.ui.messages.isEmpty());
    QVERIFY(!QFile::exists(w.path("sm_a.jpg")));
}

void TestGenerationRun::columnLowering()
{
    RunWorld w;
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg"})
        QVERIFY(runWriteJpeg(w.path(name), 40, 30));
    w.show(mkJpg);
    w.options.setShownamebox(false);
    w.options.setColumnEdit(4);
    w.run->WebButtonClick();
    QCOMPARE(w.options.ColumnEdit(), 3);
    QCOMPARE(w.pages(), QStringList{"MediaPage.htm"});
}

void TestGenerationRun::corruptPicture()
{
    RunWorld w;
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    QVERIFY(runWriteBytes(w.path("x.jpg"), QByteArray("this is no picture at all").repeated(20)));
    QDir().mkpath(w.root.filePath("art"));
    QVERIFY(runWriteBytes(w.root.filePath("art/bg.gif"), "chosen"));
    QVERIFY(runWriteBytes(w.path("bg.gif"), "old"));
    w.show(mkJpg);
    w.options.setShownamebox(false);
    w.options.setNameIncrement("2");
    w.options.setBackgroundChoice(PageOptions::UseBackgroundPicture, true);
    w.options.setBackgroundfile(w.root.filePath("art/bg.gif"));
    w.state.ViewerOpen = w.state.MWindowCheckBox = true;

    w.run->WebButtonClick(); // szPercent is in force at the first run: every picture is measured

    QCOMPARE(w.ui.sounds, QStringList{"error.wav"});
    QCOMPARE(w.ui.errorBoxes, QStringList{"Error loading file (X.JPG)"});
    QVERIFY(w.ui.calledInOrder(
        {"hideViewer", "playSound:error.wav", "showErrorBox:Error loading file (X.JPG)", "closeViewer"}));
    QCOMPARE(w.pages(), QStringList());
    QVERIFY(!w.ui.progressIsShown());
    QVERIFY(!w.state.ViewerOpen && !w.state.MWindowCheckBox && !w.state.GenerationRunning);
    QCOMPARE(w.options.NameIncrement(), QStringLiteral("2"));
    QVERIFY(w.ui.messages.isEmpty());
    // The older background picture is only ever replaced by a finished copy after a written page.
    QCOMPARE(runReadBytes(w.path("bg.gif")), QByteArray("old"));
}

void TestGenerationRun::unreadableCounter()
{
    RunWorld w;
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    w.show(mkJpg);
    w.options.setShownamebox(false);
    w.options.setNameIncrement("1,000"); // as a number field with digit grouping might show it
    w.state.ViewerOpen = true;

    w.run->WebButtonClick();

    QCOMPARE(w.ui.sounds, QStringList{"error.wav"});
    QCOMPARE(w.ui.errorBoxes.size(), 1);
    QVERIFY2(w.ui.errorBoxes.at(0).contains(w.path("MediaPage.htm")), qPrintable(w.ui.errorBoxes.at(0)));
    QVERIFY(w.ui.errorBoxes.at(0).contains("1,000"));
    QCOMPARE(w.pages(), QStringList());
    QCOMPARE(w.ui.count("closeViewer"), 1); // the end step still ran
    QVERIFY(!w.state.ViewerOpen && !w.state.GenerationRunning);
    QCOMPARE(w.options.NameIncrement(), QStringLiteral("1,000"));
}

void TestGenerationRun::counterAcrossLocales_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("C") << "C";
    QTest::newRow("German grouping") << "de_DE";
    QTest::newRow("Swiss grouping") << "de_CH";
    QTest::newRow("Indian grouping") << "hi_IN";
}

void TestGenerationRun::counterAcrossLocales()
{
    QFETCH(QString, locale);
    const QLocale before;
    QLocale::setDefault(QLocale(locale));
    RunWorld w;
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    w.show(mkJpg);
    w.options.setThumbnailer(false);
    w.options.setNameIncrement("999"); // the name dialog gives it back as it shows it
    w.run->WebButtonClick();
    w.run->WebButtonClick();
    w.run->WebButtonClick();
    QLocale::setDefault(before);
    QCOMPARE(w.pages(), QStringList({"MediaPage1000.htm", "MediaPage1001.htm", "MediaPage999.htm"}));
    QCOMPARE(w.options.NameIncrement(), QStringLiteral("1002"));
    QVERIFY(w.ui.errorBoxes.isEmpty());
    QCOMPARE(w.ui.count("askPageName"), 3);
}

void TestGenerationRun::soundPicture_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("atTarget"); // "", "file" or "link": what note.gif in the page folder is before
    QTest::addColumn<QString>("soundPictureName");
    QTest::addColumn<QString>("expected"); // note.gif's content afterwards; "" for none

    QTest::newRow("sounds, copied in") << int(mkWav) << ""
                                       << "note.gif"
                                       << "chosen";
    QTest::newRow("sounds, a file of the name stays") << int(mkWav) << "file"
                                                      << "note.gif"
                                                      << "mine";
    QTest::newRow("sounds, a planted link is not followed") << int(mkWav) << "link"
                                                            << "note.gif"
                                                            << "";
    QTest::newRow("movies, copied in too") << int(mkAvi) << ""
                                           << "note.gif"
                                           << "chosen";
    QTest::newRow("pictures show sounds as text") << int(mkJpg) << ""
                                                  << "None"
                                                  << "";
}

void TestGenerationRun::soundPicture()
{
    QFETCH(int, kind);
    QFETCH(QString, atTarget);
    QFETCH(QString, soundPictureName);
    QFETCH(QString, expected);

    RunWorld w;
    QVERIFY(runWriteBytes(w.path("a.wav"), "RIFF"));
    QVERIFY(runWriteBytes(w.path("a.avi"), "RIFF"));
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    QDir().mkpath(w.root.filePath("my art"));
    QVERIFY(runWriteBytes(w.root.filePath("my art/note.gif"), "chosen"));
    const QString victim = w.root.filePath("victim");
    QVERIFY(runWriteBytes(victim, "precious"));
    if (atTarget == "file")
        QVERIFY(runWriteBytes(w.path("note.gif"), "mine"));
    if (atTarget == "link")
        QVERIFY(QFile::link(victim, w.path("note.gif")));
    w.show(MediaKind(kind));
    w.options.setShownamebox(false);
    w.options.setSoundChoice(PageOptions::UsePicture, true);
    w.options.setSoundPick("\"" + w.root.filePath("my art/note.gif") + "\"");

    w.run->WebButtonClick();

    QCOMPARE(w.pages(), QStringList{"MediaPage.htm"});
    QCOMPARE(w.run->SoundPictureName(), soundPictureName);
    QCOMPARE(w.options.SoundLinkCode(), soundPictureName == "None" ? 3 : 4);
    if (atTarget == "link") {
        QVERIFY(QFileInfo(w.path("note.gif")).isSymLink());
        QCOMPARE(runReadBytes(victim), QByteArray("precious"));
    } else if (expected.isEmpty()) {
        QVERIFY(!QFile::exists(w.path("note.gif")));
    } else {
        QCOMPARE(runReadBytes(w.path("note.gif")), expected.toLatin1());
    }
}

void TestGenerationRun::thumbnailNeverThroughLink_data()
{
    QTest::addColumn<bool>("deleteThumbnail");
    QTest::newRow("old thumbnails kept") << false;
    QTest::newRow("old thumbnails deleted first") << true;
}

void TestGenerationRun::thumbnailNeverThroughLink()
{
    QFETCH(bool, deleteThumbnail);
    RunWorld w;
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    QVERIFY(runWriteJpeg(w.path("b.jpg"), 40, 30));
    const QString victim = w.root.filePath("victim.jpg"); // a picture, so the page can be built over it
    QVERIFY(runWriteJpeg(victim, 64, 48));
    const QByteArray precious = runReadBytes(victim);
    QVERIFY(QFile::link(victim, w.path("sm_a.jpg")));
    w.show(mkJpg);
    w.options.setShownamebox(false);
    w.options.setDeleteThumbnail(deleteThumbnail);

    w.run->WebButtonClick();

    QCOMPARE(runReadBytes(victim), precious);
    if (!deleteThumbnail) { // the link is still there when a.jpg's thumbnail is due
        QVERIFY2(w.ui.messages.contains(
                     "Error Creating Thumbnail from a.jpg: sm_a.jpg is not a thumbnail of ours and is kept"),
                 qPrintable(w.ui.log.join("\n")));
        QVERIFY(QFileInfo(w.path("sm_a.jpg")).isSymLink());
    }
    QVERIFY(QFileInfo(w.path("sm_b.jpg")).size() > 0);
    QCOMPARE(w.pages(), QStringList{"MediaPage.htm"});
}

// A GIF page made after a JPG page in the same folder keeps the JPG page's thumbnails; once no other
// page shows them, the clean-up deletes them as before.
void TestGenerationRun::otherPagesKeepTheirThumbnails()
{
    RunWorld w;
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    QVERIFY(runWriteJpeg(w.path("b.jpg"), 40, 30));
    QVERIFY(runWriteGif(w.path("c.gif")));
    w.options.setShownamebox(false);
    w.options.setThumbnailer(true);
    w.options.setDeleteThumbnail(true);
    w.ui.overwriteAnswer = RunScriptUi::OverwriteAnswer::Ok;
    const auto makePage = [&w](MediaKind kind, const QString &name) {
        w.show(kind);
        w.options.setWebNameEdit(name);
        w.run->WebButtonClick();
    };

    makePage(mkJpg, "Photos.htm");
    QVERIFY(w.pageText("Photos.htm").contains("SRC=\"sm_a.jpg\""));
    QVERIFY(QFile::exists(w.path("sm_a.jpg")) && QFile::exists(w.path("sm_b.jpg")));
    makePage(mkGif, "Drawings.htm");
    QVERIFY(w.pageText("Drawings.htm").contains("c.gif"));
    QVERIFY2(QFile::exists(w.path("sm_a.jpg")) && QFile::exists(w.path("sm_b.jpg")),
             qPrintable(runFolderNames(w.folder).join(' ')));

    QVERIFY(QFile::remove(w.path("Photos.htm")));
    makePage(mkGif, "Drawings.htm"); // replaces the GIF page; no page shows the JPG thumbnails now
    QVERIFY2(!QFile::exists(w.path("sm_a.jpg")) && !QFile::exists(w.path("sm_b.jpg")),
             qPrintable(runFolderNames(w.folder).join(' ')));
    QVERIFY(w.ui.errorBoxes.isEmpty());
}

void TestGenerationRun::pageNameLeavingFolder()
{
    RunWorld w;
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    w.show(mkJpg);
    w.options.setShownamebox(false);
    w.options.setWebNameEdit("../Outside.htm");
    w.run->WebButtonClick();
    QVERIFY(!QFile::exists(w.root.filePath("Outside.htm")));
    QCOMPARE(w.ui.sounds, QStringList{"error.wav"});
    QCOMPARE(w.ui.errorBoxes.size(), 1);
    QVERIFY(w.ui.errorBoxes.at(0).contains("../Outside.htm"));
    QVERIFY(!w.state.GenerationRunning);
}

void TestGenerationRun::folderGone()
{
    RunWorld w;
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    w.show(mkJpg);
    w.options.setShownamebox(false);
    QVERIFY(QDir(w.folder).removeRecursively());
    w.ui.onSelectFirstRow = nullptr; // the file list has not caught up yet

    w.run->WebButtonClick();

    QCOMPARE(w.ui.errorBoxes.size(), 1);
    QVERIFY(w.ui.errorBoxes.at(0).contains(w.folder));
    QVERIFY(!w.state.GenerationRunning);
    QVERIFY(!QFile::exists(w.folder));
    QVERIFY(!QFile::exists(QDir::current().filePath("MediaPage.htm")));
}

void TestGenerationRun::secondPressDuringRun()
{
    RunWorld w;
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    QVERIFY(runWriteJpeg(w.path("b.jpg"), 40, 30));
    w.show(mkJpg);
    int presses = 0;
    w.ui.onLetEventsRun = [&] {
        ++presses;
        w.run->WebButtonClick();
    };
    w.run->WebButtonClick();
    QVERIFY(presses > 0);
    QVERIFY(w.run->isRunning() == false);
    QCOMPARE(w.ui.count("askPageName"), 1);
    QCOMPARE(w.pages(), QStringList{"MediaPage.htm"});
    QCOMPARE(w.ui.messages.size(), 1);
}

void TestGenerationRun::folderChosenDuringRun()
{
    // The user picks another folder while the pictures are measured: the page, its copies and its
    // thumbnails still go to the folder the run was started on.
    RunWorld w;
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    const QString other = w.root.filePath("other");
    QVERIFY(QDir().mkpath(other));
    QVERIFY(runWriteJpeg(other + "/a.jpg", 40, 30));
    QDir().mkpath(w.root.filePath("art"));
    QVERIFY(runWriteBytes(w.root.filePath("art/bg.gif"), "chosen"));
    w.show(mkJpg);
    w.options.setShownamebox(false);
    w.options.setBackgroundChoice(PageOptions::UseBackgroundPicture, true);
    w.options.setBackgroundfile(w.root.filePath("art/bg.gif"));
    w.ui.onLetEventsRun = [&] {
        w.listing->setCurrentFolder(other);
        QDir::setCurrent(other);
    };

    w.run->WebButtonClick();

    QCOMPARE(w.pages(), QStringList{"MediaPage.htm"});
    QCOMPARE(w.state.MyFile, w.path("MediaPage.htm"));
    QVERIFY(QFile::exists(w.path("sm_a.jpg")));
    QVERIFY(QFile::exists(w.path("bg.gif")));
    QCOMPARE(runFolderNames(other), QStringList{"a.jpg"});
    QCOMPARE(w.ui.messages, QStringList{w.path("MediaPage.htm") + " was created."});
}

void TestGenerationRun::fullDisk_data()
{
    QTest::addColumn<bool>("oldPage");
    QTest::newRow("overwrite confirmed") << true;
    QTest::newRow("new page") << false;
}

void TestGenerationRun::fullDisk()
{
    QFETCH(bool, oldPage);
    if (!RunTmpfs::runningAsRoot())
        QSKIP("mounting a small tmpfs needs root");
    RunWorld w;
    RunTmpfs disk(w.folder, "size=64k");
    QVERIFY2(disk.isMounted(), qPrintable(disk.error()));
    QVERIFY(runWriteGif(w.path("a.gif")));
    QVERIFY(runWriteBytes(w.path("bg.gif"), "older background"));
    QDir().mkpath(w.root.filePath("art"));
    QVERIFY(runWriteBytes(w.root.filePath("art/bg.gif"), QByteArray(8192, 'b')));
    const QByteArray old = QByteArray("<HTML>old page</HTML>\r\n").repeated(10);
    if (oldPage)
        QVERIFY(runWriteBytes(w.path("MediaPage.htm"), old));
    QVERIFY(disk.fill("filler"));
    w.show(mkGif);
    w.options.setShownamebox(false);
    w.options.setBackgroundChoice(PageOptions::UseBackgroundPicture, true);
    w.options.setBackgroundfile(w.root.filePath("art/bg.gif"));
    w.ui.overwriteAnswer = RunScriptUi::OverwriteAnswer::Ok;
    w.state.ViewerOpen = true;
    QSignalSpy written(w.run.get(), &GenerationRun::pageWritten);

    w.run->WebButtonClick();

    QCOMPARE(written.size(), 0);
    if (oldPage) {
        QCOMPARE(w.ui.overwriteErrors.size(), 1);
        QVERIFY(w.ui.overwriteErrors.at(0).contains(w.path("MediaPage.htm")));
        QCOMPARE(runReadBytes(w.path("MediaPage.htm")), old);
    } else {
        QCOMPARE(w.ui.sounds, QStringList{"error.wav"});
        QCOMPARE(w.ui.errorBoxes.size(), 1);
        QVERIFY(w.ui.errorBoxes.at(0).contains(w.path("MediaPage.htm")));
        QVERIFY(!QFile::exists(w.path("MediaPage.htm")));
    }
    QVERIFY(w.ui.messages.isEmpty());
    // No half page, no half copy of the background, nothing left behind; the older background stays.
    QCOMPARE(runFolderNames(w.folder), oldPage ? QStringList({"MediaPage.htm", "a.gif", "bg.gif", "filler"})
                                               : QStringList({"a.gif", "bg.gif", "filler"}));
    QCOMPARE(runReadBytes(w.path("bg.gif")), QByteArray("older background"));
    QCOMPARE(w.ui.count("closeViewer"), 1);
    QVERIFY(!w.state.GenerationRunning);
    QDir::setCurrent(w.root.path()); // let the folder be unmounted
}

void TestGenerationRun::readOnlyFolder()
{
    if (!RunTmpfs::runningAsRoot())
        QSKIP("mounting a read-only tmpfs needs root");
    RunWorld w;
    RunTmpfs disk(w.folder, "size=1m");
    QVERIFY2(disk.isMounted(), qPrintable(disk.error()));
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    QVERIFY(runWriteJpeg(w.path("sm_a.jpg"), 20, 15));
    QDir().mkpath(w.root.filePath("art"));
    QVERIFY(runWriteBytes(w.root.filePath("art/bg.gif"), "chosen"));
    const QStringList before = runFolderNames(w.folder);
    const QByteArray thumbnail = runReadBytes(w.path("sm_a.jpg"));
    QVERIFY(disk.remountReadOnly());
    w.show(mkJpg);
    w.options.setShownamebox(false);
    w.options.setBackgroundChoice(PageOptions::UseBackgroundPicture, true);
    w.options.setBackgroundfile(w.root.filePath("art/bg.gif"));

    w.run->WebButtonClick();

    QCOMPARE(w.ui.sounds, QStringList{"error.wav"});
    QCOMPARE(w.ui.errorBoxes.size(), 1);
    QVERIFY2(w.ui.errorBoxes.at(0).contains(w.path("MediaPage.htm")), qPrintable(w.ui.errorBoxes.at(0)));
    QVERIFY(w.ui.messages.isEmpty());
    QCOMPARE(runFolderNames(w.folder), before);
    QCOMPARE(runReadBytes(w.path("sm_a.jpg")), thumbnail);
    QVERIFY(!w.state.GenerationRunning);
    QDir::setCurrent(w.root.path());
}

void TestGenerationRun::folderMovedDuringThumbnails_data()
{
    QTest::addColumn<bool>("replaced"); // a new folder made at the old path
    QTest::newRow("moved") << false;
    QTest::newRow("moved, a new folder in its place") << true;
    QTest::newRow("deleted") << false;
}

// The run keeps to the folder it entered: nothing goes into another folder, and it stops with one message.
void TestGenerationRun::folderMovedDuringThumbnails()
{
    QFETCH(bool, replaced);
    const bool deleted = QByteArray(QTest::currentDataTag()) == "deleted";
    RunWorld w;
    for (int i = 0; i < 8; ++i)
        QVERIFY(runWriteJpeg(w.path(QStringLiteral("p%1.jpg").arg(i)), 40, 30));
    w.show(mkJpg);
    w.options.setShownamebox(false);
    bool pageWritten = false;
    bool moved = false;
    QObject::connect(w.run.get(), &GenerationRun::pageWritten, [&] { pageWritten = true; });
    const QString movedTo = w.root.filePath("moved");
    w.ui.onLetEventsRun = [&] {
        if (!pageWritten || moved)
            return;
        moved = true;
        if (deleted)
            QVERIFY(QDir(w.folder).removeRecursively());
        else
            QVERIFY(QDir(w.root.path()).rename("pics", "moved"));
        if (replaced)
            QVERIFY(QDir().mkpath(w.folder));
    };

    w.run->WebButtonClick();

    QVERIFY(moved);
    QCOMPARE(w.ui.errorBoxes.size(), 1);
    QVERIFY2(w.ui.errorBoxes.at(0).contains(w.folder + " was moved or deleted"),
             qPrintable(w.ui.errorBoxes.at(0)));
    QCOMPARE(w.ui.messages, QStringList()); // no thumbnail errors, no success
    if (replaced)
        QCOMPARE(runFolderNames(w.folder), QStringList());
    if (!deleted) // what was written went into the folder entered, under its new name
        QVERIFY(runFolderNames(movedTo).contains("MediaPage.htm"));
    QVERIFY(!w.state.GenerationRunning);
}

// Another run (here a handle on the folder, as the command-line maker holds one) has the folder: the
// window's run says so and waits, then makes its page.
void TestGenerationRun::waitsForAnotherRunsFolder()
{
    RunWorld w;
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    w.show(mkJpg);
    w.options.setShownamebox(false);
    auto other = std::make_unique<FolderHandle>(w.folder);
    QVERIFY(other->tryLock());
    int waited = 0;
    w.ui.onLetEventsRun = [&] {
        if (other && ++waited == 3)
            other.reset();
    };

    w.run->WebButtonClick();

    QCOMPARE(waited, 3);
    QCOMPARE(w.ui.messages.size(), 2);
    QVERIFY2(w.ui.messages.at(0).startsWith("Another run is making a page in the folder " + w.folder),
             qPrintable(w.ui.messages.at(0)));
    QCOMPARE(w.ui.messages.at(1), w.path("MediaPage.htm") + " was created.");
    QVERIFY(QFile::exists(w.path("sm_a.jpg")));
    QVERIFY(!w.run->foundFolderBusy() || w.run->failedThumbnails() == 0);
}

void TestGenerationRun::tellsOfSkippedNamesOncePerFolder()
{
    RunWorld w;
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    const QByteArray folder = QFile::encodeName(w.folder);
    for (const char *raw : {"/caf\xe9.jpg", "/\xff\xfe.jpg"}) {
        const int fd = ::open((folder + raw).constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
    }
    w.show(mkJpg);
    w.options.setShownamebox(false);
    w.run->WebButtonClick();
    const QString told =
        "2 files of the folder " + w.folder + " were skipped: their names are not valid UTF-8.";
    QCOMPARE(w.ui.messages.count(told), 1);
    QVERIFY(w.ui.calledInOrder(
        {"showMessage:" + told, "showMessage:" + w.path("MediaPage.htm") + " was created."}));
    w.ui.overwriteAnswer = RunScriptUi::OverwriteAnswer::Ok;
    w.run->WebButtonClick();
    QCOMPARE(w.ui.messages.count(told), 1); // once per folder
}

QTEST_GUILESS_MAIN(TestGenerationRun)
#include "tst_GenerationRun.moc"
