// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/MediaListing.h"
#include "core/NaturalOrder.h"
#include "core/PageOptions.h"
#include "platform/UrlOpener.h"
#include "platform/UserSettings.h"
#include "ui/FileListView.h"
#include "ui/FolderTreeView.h"
#include "ui/kit/HelpHints.h"
#include "ui/kit/PictureButton.h"
#include "ui/Scanner.h"
#include "ui/ScannerControls.h"
#include "ui/kit/ShadowText.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace
{

struct RecordedMessages final : MessagePort {
    QStringList texts;
    void showMessage(const QString &text) override { texts << text; }
};

struct RecordedPickList final : PickListPort {
    QStringList names;
    void appendFile(const QString &bareName) override { names << bareName; }
    int fileCount() const override { return int(names.size()); }
    QStringList lines() const override { return names; }
};

struct RecordedOpener final : UrlOpener {
    QStringList opened;
    QString workingFolder;
    bool launcherFound = true;
    FailedLater failedLater;
    bool openFile(const QString &filePath, const QString &folder, FailedLater failed) override
    {
        opened << filePath;
        workingFolder = folder;
        failedLater = std::move(failed);
        return launcherFound;
    }
};

void makeFiles(const QString &folder, const QStringList &names)
{
    for (const QString &name : names) {
        QFile file(folder + '/' + name);
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(name));
        file.write(name.toUtf8());
    }
}

// A main window over a fresh folder, with its messages and opener recorded.
struct Fixture {
    QTemporaryDir dir;
    PageOptions options;
    TMainForm form{options};
    RecordedMessages messages;
    RecordedOpener opener;

    explicit Fixture(const QStringList &files = {})
    {
        makeFiles(dir.path(), files);
        form.setMessagePort(&messages);
        form.setUrlOpener(&opener);
    }
    FileListView *list() const { return form.controls().FileListBoxSH; }
    QString folder() const { return dir.path(); }
    // Shows the folder, waits for its rows, and runs the first-run timer (kind 1).
    bool open(int expectedRows)
    {
        form.show();
        if (!QTest::qWaitForWindowExposed(&form) || !form.selectFolder(folder()))
            return false;
        form.Timer1Timer(); // kind 1, perhaps before the folder has been read
        // From here only the file list's own change events bring the rows into the working list.
        return QTest::qWaitFor([&] {
            return list()->rowCount() == expectedRows && form.listing().FileListBox().size() == expectedRows;
        });
    }
    void click(int row)
    {
        const QRect cell = list()->visualRect(list()->model()->index(row, 0, list()->rootIndex()));
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, cell.center());
    }
};

void writeStoredHelp(const QString &value)
{
    const auto settings = UserSettings::open();
    if (value.isNull())
        settings->remove("HelpSystem");
    else
        settings->setValue("HelpSystem", value);
    settings->sync();
}

QString storedHelp()
{
    return UserSettings::open()->value("HelpSystem").toString();
}

} // namespace

class TestScanner : public QObject
{
    Q_OBJECT

    QTemporaryDir m_config;

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8()); // before the first QSettings
        QApplication::setApplicationDisplayName("Tessaloom 2001");
    }

    void windowIsSkinnedAndTitled()
    {
        Fixture f;
        QCOMPARE(f.form.size(), QSize(649, 450));
        QVERIFY(f.form.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(f.form.windowTitle(), QStringLiteral("Tessaloom 2001"));
        QVERIFY(!f.form.mask().contains(QPoint(0, 0)));    // the skin's black outline is cut out
        QVERIFY(f.form.mask().contains(QPoint(320, 200))); // its body is not
    }

    void controlsAtTheirPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QString>("hint");
        QTest::newRow("tree")
            << "DirectoryListBox" << QRect(100, 89, 187, 182)
            << "Choose a folder that contains pictures or sounds to use for your web page. The files "
               "will be listed in the window on the right.";
        QTest::newRow("list")
            << "FileListBoxSH" << QRect(286, 89, 265, 214)
            << "This window shows the files that will be used to build your web page.  Right-Click "
               "for more options.";
        QTest::newRow("label") << "ListLabel" << QRect(304, 300, 233, 29)
                               << "This shows the type of files and the number of files that will be used in "
                                  "creating your web page.";
        QTest::newRow("quit") << "HaltButton" << QRect(564, 85, 11, 19) << "Quit";
        QTest::newRow("minimise") << "Shrinkit" << QRect(556, 64, 8, 22) << "Minimize";
        QTest::newRow("create") << "WebButton" << QRect(77, 297, 76, 28)
                                << "Click here to create your web page.";
        QTest::newRow("preview") << "PreviewButton" << QRect(157, 298, 90, 28)
                                 << "Click here to launch your web browser and see your web page.";
        QTest::newRow("grabber")
            << "GrabberButton" << QRect(87, 327, 94, 29)
            << "Click here to open the Grabber window. This lets you grab a frame from an AVI "
               "movie and use it to build a movie web page.";
        QTest::newRow("view")
            << "ViewButton" << QRect(184, 325, 78, 29)
            << "Click here to open the Viewer window. This lets you view your pictures and listen "
               "to your audio files (including MP3).";
        QTest::newRow("options")
            << "OptionsButton" << QRect(142, 355, 93, 28)
            << "Click here to open the Options window. This lets you fine tune your web page.";
        QTest::newRow("pick list")
            << "PickListButton" << QRect(556, 290, 16, 14)
            << "Click this button to bring up a pick list. You can then select and arrange your "
               "files, as well as save and load your lists.";
        QTest::newRow("help off") << "RzBmpButton1" << QRect(568, 389, 36, 22) << QString();
        QTest::newRow("kind 1") << "gjButton" << QRect(297, 330, 78, 22)
                                << "Click here to use only GIF and JPG files in your web page.";
        QTest::newRow("kind 2") << "GIFButton" << QRect(389, 330, 48, 22)
                                << "Click here to use only GIF files in your web page.";
        QTest::newRow("kind 3") << "JPGButton" << QRect(439, 330, 48, 22)
                                << "Click here to use only JPG files in your web page.";
        QTest::newRow("kind 4")
            << "WAVButton" << QRect(365, 355, 56, 22)
            << "Click here to use only WAV files in your web page. NOTE: You can use pictures to "
               "represent you sound files.";
        QTest::newRow("kind 5")
            << "MIDButton" << QRect(314, 355, 49, 22)
            << "Click here to use only MID files in your web page. NOTE: You can use pictures to "
               "represent you sound files.";
        QTest::newRow("kind 6")
            << "MP3Button" << QRect(423, 355, 48, 22)
            << "Click here to use only MP3 files in your web page. NOTE: You can use pictures to "
               "represent you sound files.";
        QTest::newRow("kind 7")
            << "AVIButton" << QRect(384, 378, 48, 22)
            << "Click here to use only AVI files in your web page. NOTE: You must create a "
               "thumbnail image from the movie first, using Grabber.";
        QTest::newRow("kind 8")
            << "MPGButton" << QRect(331, 378, 51, 22)
            << "Click here to use only MPG files in your web page. NOTE: You must create a "
               "thumbnail image from the movie first.";
    }

    void controlsAtTheirPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        QFETCH(QString, hint);
        Fixture f;
        auto *control = f.form.findChild<QWidget *>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), place);
        QCOMPARE(HelpHints::hintOf(control), hint);
        QVERIFY(control->toolTip().isEmpty());
        if (auto *button = qobject_cast<PictureButton *>(control); button && name != "RzBmpButton1")
            QVERIFY2(!button->picture().isNull(), "button picture missing from the data folder");
    }

    void hintsFollowTheHelpSystemAtEachMove_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"gjButton", "GIFButton", "JPGButton", "WAVButton", "MIDButton", "MP3Button",
                                 "AVIButton", "MPGButton", "DirectoryListBox", "HaltButton", "WebButton"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void hintsFollowTheHelpSystemAtEachMove()
    {
        QFETCH(QString, name);
        Fixture f;
        f.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.form));
        f.form.Timer1Timer(); // now, not halfway through: it sets the help system from the stored value
        auto *control = f.form.findChild<QWidget *>(name);
        f.options.setHelpSystem(true);
        QTest::mouseMove(control, QPoint(3, 3));
        QVERIFY(HelpHints::instance().showsHint(control));
        f.options.setHelpSystem(false);
        QVERIFY(HelpHints::instance().showsHint(control)); // decided at the next move, not before
        QTest::mouseMove(control, QPoint(4, 4));
        QVERIFY(!HelpHints::instance().showsHint(control));
        HelpHints::instance().hideHint();
    }

    void folderAndKindDriveTheWorkingList()
    {
        Fixture f({"a.gif", "B.JPG", "c.Jpg", "d.jpeg", "img10.jpg", "img2.jpg", ".hidden.jpg", "song.wav",
                   "clip.AVI"});
        QVERIFY(QDir(f.folder()).mkdir("folder.jpg"));
        QVERIFY(QFile::link(f.folder() + "/nowhere", f.folder() + "/dangling.jpg"));
        QVERIFY(QFile::link(f.folder() + "/a.gif", f.folder() + "/link.gif")); // leads to a regular file
        QCOMPARE(QProcess::execute("mkfifo", {f.folder() + "/pipe.jpg"}), 0);
        QVERIFY(!f.form.controls().ListLabel->isVisible());
        QVERIFY(f.open(6));
        QVERIFY(f.form.controls().ListLabel->isVisible());
        QCOMPARE(f.form.CurrentFolder(), f.folder());
        QCOMPARE(QDir::currentPath(), f.folder());
        QCOMPARE(f.form.listing().FileListBox(),
                 (QStringList{"a.gif", "B.JPG", "c.Jpg", "img2.jpg", "img10.jpg", "link.gif"}));
        QCOMPARE(f.form.controls().ListLabel->text(), QStringLiteral("GIF/JPG List: 6"));

        QTest::mouseClick(f.form.controls().kindButtons[mkWav - 1], Qt::LeftButton);
        QCOMPARE(f.form.listing().CurrentKind(), mkWav);
        QCOMPARE(f.form.controls().ListLabel->text(), QStringLiteral("WAV List: 1"));
        QTest::mouseClick(f.form.controls().kindButtons[mkAvi - 1], Qt::LeftButton);
        QCOMPARE(f.form.listing().FileListBox(), QStringList{"clip.AVI"});
        QTest::mouseClick(f.form.controls().kindButtons[mkMp3 - 1], Qt::LeftButton);
        QCOMPARE(f.form.controls().ListLabel->text(), QStringLiteral("MP3 List: 0"));
        QVERIFY(f.form.listing().FileListBox().isEmpty());
    }

    // The chosen kind shows on its button, whichever way it was chosen, and a second click keeps it.
    void chosenKindButtonLooksChosen()
    {
        Fixture f({"a.jpg"});
        QVERIFY(f.open(1));
        const auto checkedKinds = [&f] {
            QList<int> codes;
            for (int code = mkGifJpg; code <= mkMpg; ++code)
                if (f.form.controls().kindButtons[code - 1]->isChecked())
                    codes << code;
            return codes;
        };
        QCOMPARE(checkedKinds(), QList<int>{mkGifJpg}); // the first-run kind
        for (int code : {int(mkWav), int(mkWav), int(mkGif), int(mkMpg)}) {
            QTest::mouseClick(f.form.controls().kindButtons[code - 1], Qt::LeftButton);
            QCOMPARE(checkedKinds(), QList<int>{code});
        }
        f.form.chooseKind(mkMid);
        QCOMPARE(checkedKinds(), QList<int>{mkMid});
        // drawn chosen: the button's look differs from the same button unchosen
        PictureButton *mid = f.form.controls().kindButtons[mkMid - 1];
        const QImage chosen = mid->grab().toImage();
        f.form.chooseKind(mkMp3);
        QVERIFY(mid->grab().toImage() != chosen);
    }

    // Names are read whole: the Name column takes the width the size column leaves, no sideways
    // scrolling, the whole name in a tooltip; the tree shows the current folder's name however deep.
    void namesReadWhole()
    {
        const QString longName = QStringLiteral("sm_beach day at the seaside with everyone.jpg");
        Fixture f({longName, "a.jpg"});
        const QString deep = f.folder() + "/Summer holidays by the sea/Day three at the harbour/camera one";
        QVERIFY(QDir().mkpath(deep));
        makeFiles(deep, {longName, "a.jpg"});
        f.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.form));
        QVERIFY(f.form.selectFolder(deep));
        f.form.Timer1Timer();
        QTRY_COMPARE(f.list()->rowCount(), 2);
        FileListView *list = f.list();
        int shownWidth = 0;
        for (int column = 0; column < list->model()->columnCount(); ++column)
            if (!list->isColumnHidden(column))
                shownWidth += list->columnWidth(column);
        QCOMPARE(shownWidth, list->viewport()->width());
        // The names take all the size column leaves, and the size column holds the longest size whole.
        QCOMPARE(list->columnWidth(0), list->viewport()->width() - list->columnWidth(1));
        QVERIFY2(list->columnWidth(1) > list->fontMetrics().horizontalAdvance("99999.99 mb"),
                 qPrintable(QString::number(list->columnWidth(1))));
        QVERIFY2(list->columnWidth(0) >= list->viewport()->width() / 2,
                 qPrintable(QString::number(list->columnWidth(0))));
        QVERIFY(!list->horizontalScrollBar()->isVisible());
        QStringList tips;
        for (int row = 0; row < list->rowCount(); ++row)
            tips << list->model()->index(row, 0, list->rootIndex()).data(Qt::ToolTipRole).toString();
        QVERIFY2(tips.contains(longName), qPrintable(tips.join('|')));

        FolderTreeView *tree = f.form.controls().DirectoryListBox;
        QTRY_VERIFY(tree->currentIndex().isValid());
        const int textWidth = QFontMetrics(tree->font()).horizontalAdvance(QStringLiteral("camera one"));
        const auto nameInSight = [tree, textWidth] {
            const QRect item = tree->visualRect(tree->currentIndex());
            return item.top() >= 0 && item.bottom() < tree->viewport()->height() && item.left() >= 0 &&
                   item.left() + 16 + textWidth <= tree->viewport()->width();
        };
        QTRY_VERIFY(nameInSight());
        const QRect item = tree->visualRect(tree->currentIndex());
        // the name is neither cut by its column nor scrolled out of sight
        QVERIFY2(item.left() >= 0 && item.width() >= textWidth + 16 &&
                     item.left() + 16 + textWidth <= tree->viewport()->width(),
                 qPrintable(QStringLiteral("item at %1..%2, viewport %3")
                                .arg(item.left())
                                .arg(item.right())
                                .arg(tree->viewport()->width())));
    }

    // The list writes a file's size as the page does under its picture, so the two agree.
    // Disabled while the pick list is open, the tree stays readable: its text keeps a contrast of at
    // least 4.5 to 1 against its background.
    // The minimise mark stands clear of the frame the skin draws around the file list (5 pixels wide).
    void minimiseMarkClearOfTheListFrame()
    {
        Fixture f;
        const QRect frame = f.form.controls().FileListBoxSH->geometry().adjusted(-5, -5, 5, 5);
        QVERIFY(!f.form.controls().Shrinkit->geometry().intersects(frame));
    }

    void disabledTreeIsReadable()
    {
        Fixture f;
        FolderTreeView *tree = f.form.controls().DirectoryListBox;
        tree->setEnabled(false);
        const auto luminance = [](const QColor &c) {
            const auto channel = [](double v) {
                return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
            };
            return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
        };
        const double text = luminance(tree->palette().color(QPalette::Disabled, QPalette::Text));
        const double base = luminance(tree->palette().color(QPalette::Disabled, QPalette::Base));
        const double contrast = (std::max(text, base) + 0.05) / (std::min(text, base) + 0.05);
        QVERIFY2(contrast >= 4.5, qPrintable(QString::number(contrast)));
    }

    void sizesReadAsOnThePage()
    {
        Fixture f({"a.jpg"});
        QFile big(f.folder() + "/big.jpg");
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(2516582)); // 2.40 MiB
        big.close();
        QVERIFY(f.open(2));
        QStringList sizes;
        for (int row = 0; row < f.list()->rowCount(); ++row)
            sizes << f.list()->model()->index(row, 1, f.list()->rootIndex()).data().toString();
        QCOMPARE(sizes, (QStringList{"5 bytes", "2.41 mb"}));
    }

    void listFollowsTheFolderLive()
    {
        Fixture f({"a.jpg"});
        QVERIFY(f.open(1));
        makeFiles(f.folder(), {"b.JPG"});
        QTRY_COMPARE(f.form.listing().FileListBox(), (QStringList{"a.jpg", "b.JPG"}));
        QTRY_COMPARE(f.form.controls().ListLabel->text(), QStringLiteral("GIF/JPG List: 2"));
        QVERIFY(QFile::rename(f.folder() + "/a.jpg", f.folder() + "/c.jpg"));
        QTRY_COMPARE(f.form.listing().FileListBox(), (QStringList{"b.JPG", "c.jpg"}));
        QVERIFY(QFile::rename(f.folder() + "/b.JPG", f.folder() + "/b.txt"));
        QTRY_COMPARE(f.form.listing().FileListBox(), QStringList{"c.jpg"});
        QVERIFY(QFile::remove(f.folder() + "/c.jpg"));
        QTRY_COMPARE(f.form.controls().ListLabel->text(), QStringLiteral("GIF/JPG List: 0"));
    }

    void headerClickReordersTheWorkingList()
    {
        Fixture f({"zz.jpg", "a.jpg", "mmmm.jpg"}); // each file holds its name: sizes 6, 5, 8
        QVERIFY(f.open(3));
        QCOMPARE(f.form.listing().FileListBox(), (QStringList{"a.jpg", "mmmm.jpg", "zz.jpg"}));
        f.list()->sortByColumn(0, Qt::DescendingOrder);
        QTRY_COMPARE(f.form.listing().FileListBox(), (QStringList{"zz.jpg", "mmmm.jpg", "a.jpg"}));
        QTest::mouseClick(f.list()->header()->viewport(), Qt::LeftButton, {},
                          f.list()->header()->sectionViewportPosition(1) * QPoint(1, 0) + QPoint(5, 5));
        QTRY_COMPARE(f.form.listing().FileListBox(), (QStringList{"a.jpg", "zz.jpg", "mmmm.jpg"}));
    }

    // Another program copies a thousand files into the shown folder and deletes them again: the
    // working list and its caption follow in name order, and the selected file stays selected.
    void thousandFilesComingAndGoingWhileShown()
    {
        Fixture f({"a.jpg", "b.wav", "z.gif"});
        QVERIFY(f.open(2));
        f.click(1);
        QCOMPARE(f.form.listing().ClickedFile(), QStringLiteral("z.gif"));
        const auto selectedName = [&f] {
            const int row = f.list()->selectedRow();
            return row < 0 ? QString() : QFileInfo(f.list()->rowPath(row)).fileName();
        };
        QStringList copied, expected{"a.jpg", "z.gif"};
        for (int i = 0; i < 1000; ++i) {
            const char *ext = i % 3 == 0 ? "JPG" : i % 3 == 1 ? "gif" : "mp3";
            copied << QStringLiteral("DSC%1.%2").arg(i).arg(QLatin1String(ext));
            if (i % 3 != 2)
                expected << copied.last();
        }
        makeFiles(f.folder(), copied);
        std::sort(expected.begin(), expected.end(), naturalLess);
        QTRY_COMPARE(f.form.listing().FileListBox(), expected);
        QTRY_COMPARE(f.form.controls().ListLabel->text(), QStringLiteral("GIF/JPG List: 669"));
        QCOMPARE(selectedName(), QStringLiteral("z.gif"));

        f.form.chooseKind(mkGif); // filtered again at once, the selection kept
        QCOMPARE(f.form.listing().FileListBox().size(), 334);
        QCOMPARE(f.form.controls().ListLabel->text(), QStringLiteral("GIF List: 334"));
        QCOMPARE(selectedName(), QStringLiteral("z.gif"));

        for (const QString &name : std::as_const(copied))
            QVERIFY(QFile::remove(f.folder() + '/' + name));
        QTRY_COMPARE(f.form.listing().FileListBox(), QStringList{"z.gif"});
        QTRY_COMPARE(f.form.controls().ListLabel->text(), QStringLiteral("GIF List: 1"));
        QCOMPARE(selectedName(), QStringLiteral("z.gif"));
    }

    void clickingAFileSetsClickedFile()
    {
        Fixture f({"a.jpg", "b.jpg", "clip.mpg"});
        QVERIFY(f.open(2));
        f.click(1);
        QCOMPARE(f.form.listing().ClickedFile(), QStringLiteral("b.jpg"));
        QTest::keyClick(f.list(), Qt::Key_Up);
        QCOMPARE(f.form.listing().ClickedFile(), QStringLiteral("a.jpg"));

        RecordedPickList pickList;
        f.form.setPickListPort(&pickList);
        f.form.PickListButtonClick(); // shown (no window here, only the flag)
        f.click(1);
        QTest::keyClick(f.list(), Qt::Key_Shift); // every key released appends again
        QCOMPARE(pickList.names, (QStringList{"b.jpg", "b.jpg"}));
    }

    void viewOpensAndClosesTheViewer()
    {
        Fixture f({"a.jpg", "clip.mpg"});
        int made = 0;
        f.form.setViewerFactory([&made] {
            ++made;
            return new QWidget;
        });
        QVERIFY(f.open(1));
        f.form.ViewButton2Click();
        QCOMPARE(f.messages.texts, QStringList{"You must choose a file first"});
        f.click(0);
        f.form.ViewButton2Click();
        QCOMPARE(made, 1);
        QVERIFY(f.form.state().ViewerOpen && f.form.state().MWindowCheckBox);
        QVERIFY(f.form.viewerWindow() && f.form.viewerWindow()->isVisible());
        f.form.ViewButton2Click();
        QTRY_VERIFY(!f.form.viewerWindow()); // released on closing
        QVERIFY(!f.form.state().ViewerOpen && !f.form.state().MWindowCheckBox);

        f.form.chooseKind(mkMpg);
        f.click(0);
        f.messages.texts.clear();
        f.form.ViewButton2Click();
        QCOMPARE(f.messages.texts, QStringList{"Choose GRABBER to view your movie"});
        QCOMPARE(made, 1);
    }

    void previewOpensThePageOrSaysItIsMissing()
    {
        Fixture f({"a.jpg"});
        QVERIFY(f.open(1));
        f.form.setPreviewWorkingFolder("/srv/start");
        QTest::mouseClick(f.form.controls().PreviewButton, Qt::LeftButton);
        QCOMPARE(f.messages.texts, QStringList{"MediaPage.htm does not exist in " + f.folder()});
        QVERIFY(f.opener.opened.isEmpty());

        makeFiles(f.folder(), {"MediaPage.htm"});
        f.form.PreviewButtonClick();
        QCOMPARE(f.opener.opened, QStringList{f.folder() + "/MediaPage.htm"});
        QCOMPARE(f.opener.workingFolder, QStringLiteral("/srv/start"));
        QCOMPARE(f.form.state().MyFile, QStringLiteral("MediaPage.htm"));
        QCOMPARE(f.messages.texts.size(), 1);

        const QString noProgram = "No program could open the page " + f.folder() + "/MediaPage.htm";
        QVERIFY(f.opener.failedLater);
        f.opener.failedLater(); // the launcher started, then found no browser
        QCOMPARE(f.messages.texts, QStringList({"MediaPage.htm does not exist in " + f.folder(), noProgram}));

        f.opener.launcherFound = false; // a desktop without any launcher
        f.form.PreviewButtonClick();
        QCOMPARE(f.messages.texts.size(), 3);
        QCOMPARE(f.messages.texts.last(), noProgram);
    }

    void previewOfAFolderThatWentAwayReportsTheFailure()
    {
        Fixture f({"a.jpg"});
        QVERIFY(f.open(1));
        QVERIFY(QDir(f.folder()).removeRecursively());
        QString boxText;
        QTimer::singleShot(0, [&boxText] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                boxText = box->text();
                box->accept();
            }
        });
        f.form.PreviewButtonClick();
        QVERIFY2(boxText.contains(f.folder()), qPrintable(boxText));
        QVERIFY(f.opener.opened.isEmpty());
    }

    void storedHelpSettingAppliedAtTheFirstTick_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("helpOn");
        QTest::newRow("no value") << QString() << false;
        QTest::newRow("0 is on") << "0" << true;
        QTest::newRow("1 is off") << "1" << false;
        QTest::newRow("empty is off") << "" << false;
        QTest::newRow("other text is off") << "yes" << false;
    }

    void storedHelpSettingAppliedAtTheFirstTick()
    {
        QFETCH(QString, stored);
        QFETCH(bool, helpOn);
        writeStoredHelp(stored);
        Fixture f;
        QVERIFY(f.options.HelpSystem()); // the options start with help on
        f.form.show();
        QTRY_VERIFY(f.form.controls().ListLabel->isVisible()); // the 500 ms timer ran
        QCOMPARE(f.options.HelpSystem(), helpOn);
        QCOMPARE(f.form.listing().CurrentKind(), mkGifJpg);
    }

    void quitWritesTheHelpSettingClosingDoesNot()
    {
        writeStoredHelp("1");
        {
            Fixture f;
            f.options.setHelpSystem(true);
            f.form.show();
            f.form.close();
        }
        QCOMPARE(storedHelp(), QStringLiteral("1"));
        {
            Fixture f;
            f.options.setHelpSystem(true);
            f.form.HaltButtonClick();
            QVERIFY(f.form.state().Quitting);
        }
        QCOMPARE(storedHelp(), QStringLiteral("0"));
        {
            Fixture f;
            f.options.setHelpSystem(true);
            QTest::mouseClick(f.form.controls().RzBmpButton1, Qt::LeftButton); // help off
            QVERIFY(!f.options.HelpSystem());
            f.form.HaltButtonClick();
        }
        QCOMPARE(storedHelp(), QStringLiteral("1"));
    }

    // Both buttons sit on the skin's white tabs: in every state their mark must stand out from the tab
    // as much as it does at rest (its shadow alone showing does not count).
    void quitAndMinimiseReadableInEveryState_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("state");
        for (const char *button : {"HaltButton", "Shrinkit"})
            for (const char *state : {"hot", "pressed"})
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(button, state))) << button << state;
    }
    void quitAndMinimiseReadableInEveryState()
    {
        QFETCH(QString, button);
        QFETCH(QString, state);
        Fixture f;
        f.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.form));
        auto *control = f.form.findChild<ShadowText *>(button);
        QVERIFY(control);
        const auto darkPixels = [&] {
            const QImage shot = f.form.grab(control->geometry()).toImage();
            int dark = 0;
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    if (qGray(shot.pixel(x, y)) < 110)
                        ++dark;
            return dark;
        };
        const int atRest = darkPixels();
        QVERIFY2(atRest >= 8, qPrintable(QStringLiteral("%1 dark pixels at rest").arg(atRest)));
        if (state == "hot")
            QTest::mouseMove(control, control->rect().center());
        else
            control->setDown(true);
        const int now = darkPixels();
        QVERIFY2(now * 10 >= atRest * 8,
                 qPrintable(QStringLiteral("%1 dark pixels, %2 at rest").arg(now).arg(atRest)));
        control->setDown(false);
    }

    void quitAndMinimiseLightUpUnderThePointer()
    {
        Fixture f;
        f.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.form));
        ShadowText *quit = f.form.controls().HaltButton;
        QVERIFY(!quit->isHot());
        QTest::mouseMove(quit, QPoint(5, 9));
        QVERIFY(quit->isHot());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(quit, &leave);
        QVERIFY(!quit->isHot());

        QTest::mouseClick(f.form.controls().Shrinkit, Qt::LeftButton);
        QTRY_VERIFY(f.form.windowState() & Qt::WindowMinimized);
        f.form.bringToFront();
        QVERIFY(!(f.form.windowState() & Qt::WindowMinimized));
    }

    void windowButtonsShowAndHideTheirWindows()
    {
        Fixture f;
        QWidget options, grabber, pickList;
        f.form.setOptionsWindow(&options);
        f.form.setGrabberWindow(&grabber);
        f.form.setPickListWindow(&pickList);
        QTest::mouseClick(f.form.controls().OptionsButton, Qt::LeftButton);
        QVERIFY(options.isVisible());
        QTest::mouseClick(f.form.controls().OptionsButton, Qt::LeftButton);
        QVERIFY(!options.isVisible());
        QTest::mouseClick(f.form.controls().GrabberButton, Qt::LeftButton);
        QVERIFY(grabber.isVisible() && f.form.state().GrabberCheckBox);
        QTest::mouseClick(f.form.controls().GrabberButton, Qt::LeftButton);
        QVERIFY(!grabber.isVisible() && !f.form.state().GrabberCheckBox);
        QTest::mouseClick(f.form.controls().PickListButton, Qt::LeftButton);
        QVERIFY(pickList.isVisible() && f.form.state().PickListOpen);
        QTest::mouseClick(f.form.controls().PickListButton, Qt::LeftButton);
        QVERIFY(!pickList.isVisible() && !f.form.state().PickListOpen);

        int created = 0;
        connect(&f.form, &TMainForm::createRequested, this, [&created] { ++created; });
        QTest::mouseClick(f.form.controls().WebButton, Qt::LeftButton);
        QCOMPARE(created, 1);
    }

    // The pick list opens beside the main window, clear of its file list, where the screen has room;
    // after that it stays where the person drags it.
    void pickListOpensBesideAndKeepsItsPlace()
    {
        Fixture f;
        QWidget pickList;
        pickList.resize(449, 355);
        f.form.setPickListWindow(&pickList);
        const QRect available = f.form.screen()->availableGeometry();
        f.form.move(available.topLeft());
        f.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.form));
        QTest::mouseClick(f.form.controls().PickListButton, Qt::LeftButton);
        QVERIFY(pickList.isVisible());
        const QRect list(f.form.controls().FileListBoxSH->mapToGlobal(QPoint()),
                         f.form.controls().FileListBoxSH->size());
        const bool room =
            available.width() >= f.form.frameGeometry().width() + 4 + pickList.frameGeometry().width() ||
            available.height() >= f.form.frameGeometry().height() + 4 + pickList.frameGeometry().height();
        if (room)
            QVERIFY(!pickList.frameGeometry().intersects(list));
        pickList.move(pickList.pos() + QPoint(-7, 5)); // dragged by the person
        const QPoint dragged = pickList.pos();
        QTest::mouseClick(f.form.controls().PickListButton, Qt::LeftButton);
        QTest::mouseClick(f.form.controls().PickListButton, Qt::LeftButton);
        QVERIFY(pickList.isVisible());
        QCOMPARE(pickList.pos(), dragged);
    }

    void popupMenuOpensOnTheRightButton()
    {
        Fixture f({"a.jpg"});
        QVERIFY(f.open(1));
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                                f.list()->viewport()->mapToGlobal(QPoint(10, 10)));
        QApplication::sendEvent(f.list()->viewport(), &event);
        QMenu *menu = f.form.controls().FileListPopupMenu;
        QTRY_VERIFY(menu->isVisible());
        QStringList entries;
        for (QAction *action : menu->actions())
            entries << action->text();
        QCOMPARE(entries, (QStringList{"Delete all thumbnails", "Remove spaces from filenames"}));
        menu->hide();
    }

    void removeSpacesRenamesTheListedFiles()
    {
        Fixture f({"a b.jpg", "ab.jpg", "my photo.jpg", "c d.wav"});
        QVERIFY(f.open(3));
        f.form.controls().Removespacesfromfilenames1->trigger();
        const QDir dir(f.folder());
        QVERIFY(dir.exists("a b.jpg") && dir.exists("myphoto.jpg") && dir.exists("c d.wav"));
        QFile kept(dir.filePath("ab.jpg"));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("ab.jpg")); // never replaced
        QCOMPARE(f.messages.texts.size(), 1);
        QVERIFY2(f.messages.texts[0].contains("\"a b.jpg\""), qPrintable(f.messages.texts[0]));
        QTRY_COMPARE(f.form.listing().FileListBox(), (QStringList{"a b.jpg", "ab.jpg", "myphoto.jpg"}));

        f.messages.texts.clear();
        f.form.chooseKind(mkWav);
        f.form.Removespacesfromfilenames1Click();
        QVERIFY(dir.exists("cd.wav"));
        QCOMPARE(f.messages.texts, QStringList{"All spaces have been removed from all filenames in the \"" +
                                               f.folder() + "\" directory"});
    }

    void deleteAllThumbnailsCleansThenReselectsTheKind()
    {
        Fixture f({"a.jpg", "sm_a.jpg", "SM_B.JPG", "song.wav"});
        QVERIFY(!f.form.controls().Deleteallthumbnails1->isEnabled()); // nothing to do the work yet
        QString cleanedFolder;
        QStringList listSeen;
        f.form.setThumbnailCleaner([&](const QString &folder, QStringList &list) {
            cleanedFolder = folder;
            listSeen = list;
            QFile::remove(folder + "/sm_a.jpg");
            QFile::remove(folder + "/SM_B.JPG");
            list.removeIf([](const QString &name) { return name.startsWith("sm_"); });
        });
        QVERIFY(f.form.controls().Deleteallthumbnails1->isEnabled());
        QVERIFY(f.open(3));
        f.form.chooseKind(mkWav);
        f.form.controls().Deleteallthumbnails1->trigger();
        QCOMPARE(cleanedFolder, f.folder());
        QCOMPARE(listSeen, QStringList{"song.wav"});
        QCOMPARE(f.messages.texts, QStringList{"All thumbnails have been deleted"});
        QCOMPARE(f.form.listing().CurrentKind(), mkWav); // re-selected
        f.form.chooseKind(mkGifJpg);
        QTRY_COMPARE(f.form.listing().FileListBox(), QStringList{"a.jpg"});
    }

    // A person scrolls the tree, then clicks a folder whose row the edge cuts: the tree stays where it
    // is, also once the clicked folder has been read and the double-click time has passed.
    void folderTreeMovesOnlyWhenThePersonScrolls()
    {
        QTemporaryDir dir;
        for (int i = 0; i < 30; ++i)
            QVERIFY(
                QDir(dir.path()).mkpath(QStringLiteral("folder %1/inside").arg(i, 2, 10, QLatin1Char('0'))));
        FolderTreeView tree;
        tree.resize(187, 182);
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        QVERIFY(tree.selectFolder(dir.path()));
        const QModelIndex folder = tree.currentIndex();
        tree.expand(folder);
        QTRY_COMPARE(tree.model()->rowCount(folder), 30);
        QTRY_VERIFY(tree.horizontalScrollBar()->maximum() > 0); // deep names: wider than the tree

        tree.verticalScrollBar()->setValue(tree.verticalScrollBar()->value() + 3);
        tree.horizontalScrollBar()->setValue(tree.horizontalScrollBar()->maximum() / 2);
        QModelIndex cut; // the row the bottom edge cuts
        for (int row = 0; row < 30 && !cut.isValid(); ++row) {
            const QModelIndex index = tree.model()->index(row, 0, folder);
            const QRect rect = tree.visualRect(index);
            if (rect.top() < tree.viewport()->height() && rect.bottom() >= tree.viewport()->height())
                cut = index;
        }
        QVERIFY(cut.isValid());
        const int down = tree.verticalScrollBar()->value();
        const int sideways = tree.horizontalScrollBar()->value();
        QSignalSpy chosen(&tree, &FolderTreeView::folderSelected);
        const QRect rect = tree.visualRect(cut);
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {},
                          QPoint(std::max(rect.left(), 0) + 10, tree.viewport()->height() - 2));
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(tree.currentIndex(), cut);
        auto *model = qobject_cast<QFileSystemModel *>(tree.model());
        QVERIFY(model);
        QSignalSpy read(model, &QFileSystemModel::directoryLoaded);
        model->fetchMore(cut); // as the tree does when the folder opens: its row may change meanwhile
        QVERIFY(read.wait() || read.size() > 0);
        QTest::qWait(QApplication::doubleClickInterval() + 300); // past Qt's delayed scroll to a pressed row
        QCOMPARE(tree.verticalScrollBar()->value(), down);
        QCOMPARE(tree.horizontalScrollBar()->value(), sideways);
    }

    // A folder the program chooses comes into sight without the tree being scrolled sideways past the
    // names above it, when its own name fits: a long neighbour makes the column wider than the tree.
    void chosenFolderIsShownWithoutNeedlessSidewaysScroll()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("a")));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("a neighbour whose name is far wider than the tree")));
        FolderTreeView tree;
        tree.resize(187, 182);
        tree.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tree));
        QVERIFY(tree.selectFolder(dir.filePath("a")));
        QTRY_COMPARE(tree.model()->rowCount(tree.currentIndex().parent()), 2);
        QTRY_VERIFY(tree.horizontalScrollBar()->maximum() > 0);
        QVERIFY(tree.selectFolder(dir.filePath("a"))); // chosen again, now that the column is wide
        const QRect item = tree.visualRect(tree.currentIndex());
        QVERIFY(item.top() >= 0 && item.bottom() < tree.viewport()->height());
        QCOMPARE(tree.horizontalScrollBar()->value(), 0);
    }
};

QTEST_MAIN(TestScanner)
#include "tst_Scanner.moc"
