// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/MediaListing.h"
#include "core/PageOptions.h"
#include "core/PickListFile.h"
#include "core/PickListHost.h"
#include "ui/kit/HelpHints.h"
#include "ui/Picklist.h"
#include "ui/PicklistChoosers.h"
#include "ui/kit/ShadowText.h"
#include "ui/PicklistMemo.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QScreen>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// The main window's file list over a real folder, filtered by the kind's masks.
class FolderRows : public FileListRows
{
public:
    QString folder;
    QStringList shown;
    QString masks;
    int selected = -1;

    void setMaskString(const QString &m) override
    {
        masks = m;
        reread();
    }
    void reread()
    {
        shown.clear();
        const QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name);
        for (const QString &n : names)
            if (MediaKinds::matchesMasks(n, masks))
                shown.append(n);
    }
    int rowCount() const override { return int(shown.size()); }
    QString rowPath(int row) const override { return JoinFolderFile(folder, shown.at(row)); }
    int selectedRow() const override { return selected; }
    bool rowIsFile(int) const override { return true; }
};

class Messages : public MessagePort
{
public:
    QStringList shown;
    void showMessage(const QString &text) override { shown.append(text); }
};

// A small main window: the listing logic over a real folder, a folder tree stand-in that only
// knows whether it is enabled, and the host commands the pick list runs.
class MainStandIn : public PickListHost
{
public:
    FolderRows rows;
    PageOptions options;
    MainState state;
    MediaListing listing{rows, options, state};
    QWidget DirectoryListBox;
    QStringList folderChanges;
    QList<int> kindsChosen;

    explicit MainStandIn(const QString &folder)
    {
        selectFolder(folder);
        listing.chooseKind(mkGifJpg);
    }
    void selectFolder(const QString &folder)
    {
        rows.folder = folder;
        rows.reread();
        listing.setCurrentFolder(folder);
        listing.FileListBoxSHFolderChanged();
    }
    void clickRow(const QString &name)
    {
        rows.selected = int(rows.shown.indexOf(name));
        listing.FileListBoxSHClick();
    }

    QString CurrentFolder() const override { return listing.CurrentFolder(); }
    QStringList FileListBox() const override { return listing.FileListBox(); }
    void setFolderTreeEnabled(bool enabled) override { DirectoryListBox.setEnabled(enabled); }
    void changeFolder(const QString &folder) override
    {
        folderChanges.append(folder);
        selectFolder(folder);
    }
    void chooseKind(MediaKind kind) override
    {
        kindsChosen.append(kind);
        listing.chooseKind(kind);
    }
    void pickListClosed() override { state.PickListOpen = false; }
};

class ScriptedChoosers : public PicklistChoosers
{
public:
    QString saveName, openName;
    int asked = 0;
    QString askSaveName(QWidget *) override { ++asked; return saveName; }
    QString askOpenName(QWidget *) override { ++asked; return openName; }
};

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void makeFiles(const QString &folder, const QStringList &names)
{
    for (const QString &n : names)
        writeFile(JoinFolderFile(folder, n), "x");
}

} // namespace

class TestPicklist : public QObject
{
    Q_OBJECT

    struct World {
        QTemporaryDir dir;
        QString pics;
        std::unique_ptr<MainStandIn> main;
        Messages messages;
        ScriptedChoosers *choosers = new ScriptedChoosers;
        QStringList questions;
        bool answer = false;
        TPickListForm form;

        World(const QStringList &files = {"a.jpg", "b.gif", "c.jpg", "d.wav"})
        {
            pics = dir.filePath("pics");
            QDir().mkpath(pics);
            makeFiles(pics, files);
            main = std::make_unique<MainStandIn>(pics);
            main->listing.setPickList(&form);
            form.setHost(main.get());
            form.setMessages(&messages);
            form.setChoosers(std::unique_ptr<PicklistChoosers>(choosers));
            form.setConfirmOverwrite([this](const QString &q) {
                questions.append(q);
                return answer;
            });
        }
        void open()
        {
            main->state.PickListOpen = true;
            form.show();
        }
        void close()
        {
            main->state.PickListOpen = false;
            form.hide();
        }
        void setLines(const QStringList &lines) { form.model()->setStringList(lines); }
    };

private Q_SLOTS:
    void initTestCase() { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

    void windowIsSkinnedAndCentred()
    {
        World w;
        QCOMPARE(w.form.size(), QSize(449, 355));
        QCOMPARE(w.form.windowTitle(), QStringLiteral("Pick List"));
        QVERIFY(w.form.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!w.form.mask().isEmpty());
        QVERIFY(!w.form.mask().contains(QPoint(0, 0)));     // the yellow corner is cut out
        QVERIFY(!w.form.mask().contains(QPoint(448, 354)));
        QVERIFY(w.form.mask().contains(QPoint(224, 177)));  // the body stays
        QVERIFY(w.form.mask().contains(QPoint(20, 0)));
        const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY((w.form.frameGeometry().center() - centre).manhattanLength() <= 2);
        QVERIFY(!w.form.isVisible()); // made hidden, shown by the main window
    }

    void controlsSitInTheirPlacesWithTheirHints_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QString>("hint");
        QTest::newRow("list") << "PickListMemo" << QRect(60, 53, 328, 247)
                              << "You can rearrange the files in this list by Left-Clicking on a file and holding the "
                                 "left mouse button down while dragging. To remove a file, press the space bar. The "
                                 "Directory List is disabled when this Pick List is in use. Your list will be cleared "
                                 "if you change directories.";
        QTest::newRow("fill") << "FillButton" << QRect(60, 302, 42, 25)
                              << "Click here to copy all files from the main list to the pick list.";
        QTest::newRow("load") << "LoadButton" << QRect(158, 301, 59, 27)
                              << "Load a previously saved list. NOTE: If you have moved or deleted files from the "
                                 "list's directory, you will need to update the list or your web page will have "
                                 "broken links.";
        QTest::newRow("save") << "SaveButton" << QRect(229, 301, 59, 27)
                              << "Click here to save your custom list. You can load it at a later time.";
        QTest::newRow("clear") << "ClearButton" << QRect(334, 301, 64, 28)
                               << "Click here to clear the contents of the Pick List.";
        QTest::newRow("close mark") << "HaltButton" << QRect() << "Close window";
    }

    void controlsSitInTheirPlacesWithTheirHints()
    {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        QFETCH(QString, hint);
        World w;
        auto *control = w.form.findChild<QWidget *>(name);
        QVERIFY(control);
        if (place.isValid())
            QCOMPARE(control->geometry(), place);
        else
            QCOMPARE(control->pos(), QPoint(411, 17));
        QCOMPARE(HelpHints::hintOf(control), hint);
        QVERIFY(control->toolTip().isEmpty());
    }

    // The list's pointer moves land on its viewport; its hint must still follow HelpSystem.
    void hintsFollowTheHelpSystem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("list") << "PickListMemo";
        QTest::newRow("fill") << "FillButton";
        QTest::newRow("close mark") << "HaltButton";
    }

    void hintsFollowTheHelpSystem()
    {
        QFETCH(QString, name);
        World w;
        HelpHints::instance().setOptions(&w.main->options);
        w.open();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        auto *control = w.form.findChild<QWidget *>(name);
        auto *view = qobject_cast<QAbstractScrollArea *>(control);
        QWidget *target = view ? view->viewport() : control;
        w.main->options.setHelpSystem(false);
        QTest::mouseMove(target, QPoint(4, 4));
        QTest::qWait(20);
        QVERIFY(!HelpHints::instance().showsHint(control));
        w.main->options.setHelpSystem(true);
        QTest::mouseMove(target, QPoint(6, 6));
        QTRY_VERIFY(HelpHints::instance().showsHint(control));
        HelpHints::instance().hideHint();
        HelpHints::instance().setOptions(nullptr);
    }

    void listLooksAsDesigned()
    {
        World w;
        PicklistMemo *memo = w.form.PickListMemo();
        QVERIFY(memo->font().bold());
        QCOMPARE(memo->viewport()->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(memo->frameShape(), QFrame::NoFrame);
        QCOMPARE(memo->selectionMode(), QAbstractItemView::SingleSelection);
        QCOMPARE(memo->editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(memo->dragDropMode(), QAbstractItemView::InternalMove);
    }

    void closeMarkLightsUpUnderThePointer()
    {
        World w;
        auto *halt = w.form.findChild<ShadowText *>("HaltButton");
        QCOMPARE(halt->textColor(), QColor(Qt::black));
        QCOMPARE(halt->shadowColor(), QColor(Qt::white));
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(halt, &enter);
        QCOMPARE(halt->textColor(), QColor(Qt::white));
        QCOMPARE(halt->shadowColor(), QColor(Qt::black));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(halt, &leave);
        QCOMPARE(halt->textColor(), QColor(Qt::black));
        QCOMPARE(halt->font().pixelSize(), 16);
        QVERIFY(halt->font().bold());
    }

    void closeMarkHidesTheWindowAndClearsTheFlag()
    {
        World w;
        w.open();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        QVERIFY(!w.main->DirectoryListBox.isEnabled());
        const QPoint before = w.form.pos();
        QTest::mouseClick(w.form.findChild<QWidget *>("HaltButton"), Qt::LeftButton, {}, QPoint(3, 5));
        QVERIFY(!w.form.isVisible());
        QVERIFY(!w.main->state.PickListOpen);
        QVERIFY(w.main->DirectoryListBox.isEnabled());
        QCOMPARE(w.form.pos(), before); // a click on the mark does not drag the window
    }

    void windowIsDraggedByItsBody()
    {
        World w;
        w.open();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        const QPoint start = w.form.pos();
        QTest::mousePress(&w.form, Qt::LeftButton, {}, QPoint(30, 200));
        QMouseEvent move(QEvent::MouseMove, QPointF(50, 210), w.form.mapToGlobal(QPointF(50, 210)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w.form, &move);
        QTest::mouseRelease(&w.form, Qt::LeftButton, {}, QPoint(50, 210));
        QCOMPARE(w.form.pos(), start + QPoint(20, 10));
    }

    void dropMovesTheSelectedLine_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("dropRow"); // -1: below the last line
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("selectedAfter");
        QTest::newRow("a onto c") << 0 << 2 << QStringList{"b", "c", "a"} << 2;
        QTest::newRow("c onto a") << 2 << 0 << QStringList{"c", "a", "b"} << 0;
        QTest::newRow("a onto b") << 0 << 1 << QStringList{"b", "a", "c"} << 1;
        QTest::newRow("a below the last line") << 0 << -1 << QStringList{"b", "c", "a"} << 2;
        QTest::newRow("b onto itself") << 1 << 1 << QStringList{"a", "b", "c"} << 1;
        QTest::newRow("nothing selected") << -1 << 0 << QStringList{"a", "b", "c"} << -1;
    }

    // The press that starts a drag selects the line; the drop point picks the target line.
    void dropMovesTheSelectedLine()
    {
        QFETCH(int, selected);
        QFETCH(int, dropRow);
        QFETCH(QStringList, expected);
        QFETCH(int, selectedAfter);
        World w;
        w.open();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        w.setLines({"a", "b", "c"});
        PicklistMemo *memo = w.form.PickListMemo();
        if (selected >= 0)
            QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, memo->visualRect(w.form.model()->index(selected)).center());
        QCOMPARE(w.form.selectedLine(), selected);
        const QPoint drop = dropRow >= 0 ? memo->visualRect(w.form.model()->index(dropRow)).center()
                                         : QPoint(20, memo->viewport()->height() - 5);
        w.form.PickListMemoEndDrag(drop);
        QCOMPARE(w.form.lines(), expected);
        QCOMPARE(w.form.selectedLine(), selectedAfter);
    }

    // A real drag cannot be driven by QTest; the view's move ends in the model's moveRows.
    void modelMovesRowsAsTheViewAsksIt()
    {
        World w;
        w.setLines({"a", "b", "c", "d"});
        QVERIFY(w.form.model()->moveRows(QModelIndex(), 0, 1, QModelIndex(), 3));
        QCOMPARE(w.form.lines(), (QStringList{"b", "c", "a", "d"}));
        QVERIFY(w.form.model()->moveRows(QModelIndex(), 3, 1, QModelIndex(), 0));
        QCOMPARE(w.form.lines(), (QStringList{"d", "b", "c", "a"}));
    }

    // Drops from anywhere but the list itself (another program's files) are refused.
    void foreignDropsAreRefused()
    {
        World w;
        w.open();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        w.setLines({"a", "b", "c"});
        w.form.selectLine(0);
        QMimeData data;
        data.setText("x.jpg");
        const QPointF point = w.form.PickListMemo()->visualRect(w.form.model()->index(2)).center();
        QDropEvent drop(point, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w.form.PickListMemo()->viewport(), &drop);
        QVERIFY(!drop.isAccepted());
        QCOMPARE(w.form.lines(), (QStringList{"a", "b", "c"}));
    }

    void spaceBarRemovesTheSelectedLine()
    {
        World w;
        w.open();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        w.setLines({"a", "b", "c"});
        PicklistMemo *memo = w.form.PickListMemo();
        memo->setFocus();
        QTest::keyClick(memo, Qt::Key_Space);
        QCOMPARE(w.form.lines(), (QStringList{"a", "b", "c"})); // nothing selected: nothing happens
        w.form.selectLine(1);
        QTest::keyClick(memo, Qt::Key_Space);
        QCOMPARE(w.form.lines(), (QStringList{"a", "c"}));
        w.form.selectLine(0);
        QTest::keyClick(memo, Qt::Key_A);
        QCOMPARE(w.form.lines(), (QStringList{"a", "c"}));
    }

    void fillReplacesAndClearEmpties()
    {
        World w;
        w.setLines({"old.jpg"});
        QTest::mouseClick(w.form.findChild<QAbstractButton *>("FillButton"), Qt::LeftButton);
        QCOMPARE(w.form.lines(), (QStringList{"a.jpg", "b.gif", "c.jpg"}));
        QTest::mouseClick(w.form.findChild<QAbstractButton *>("FillButton"), Qt::LeftButton);
        QCOMPARE(w.form.fileCount(), 3); // replaces, never appends
        QTest::mouseClick(w.form.findChild<QAbstractButton *>("ClearButton"), Qt::LeftButton);
        QVERIFY(w.form.lines().isEmpty());

        w.main->chooseKind(mkMid); // no MIDI files: an empty working list
        w.setLines({"old.jpg"});
        w.form.FillButtonClick();
        QVERIFY(w.form.lines().isEmpty());
    }

    // While shown, the folder tree is off and every click or key release in the file list appends.
    void clicksInTheFileListAppendWhileShown()
    {
        World w;
        w.main->clickRow("b.gif");
        QVERIFY(w.form.lines().isEmpty()); // hidden: clicks only choose the file
        w.open();
        QVERIFY(!w.main->DirectoryListBox.isEnabled());
        w.main->clickRow("c.jpg");
        w.main->clickRow("c.jpg");
        w.main->rows.selected = 0;
        w.main->listing.FileListBoxSHKeyUp();
        QCOMPARE(w.form.lines(), (QStringList{"c.jpg", "c.jpg", "a.jpg"}));
        QCOMPARE(w.form.selectedLine(), -1); // appended lines are not selected
        w.close();
        QVERIFY(w.main->DirectoryListBox.isEnabled());
        w.main->clickRow("a.jpg");
        QCOMPARE(w.form.fileCount(), 3);
    }

    void listIsKeptOnlyForTheSameFolder()
    {
        World w;
        QVERIFY(QDir().mkpath(w.dir.filePath("other")));
        w.open();
        w.form.appendFile("a.jpg");
        w.close();
        QCOMPARE(w.form.HoldDir(), w.pics);
        w.open();
        QCOMPARE(w.form.lines(), QStringList{"a.jpg"}); // same folder: kept
        w.close();
        w.main->selectFolder(w.dir.filePath("other"));
        w.open();
        QVERIFY(w.form.lines().isEmpty()); // another folder: emptied
        w.form.appendFile("x.jpg");
        w.close();
        QCOMPARE(w.form.HoldDir(), w.dir.filePath("other"));
    }

    void saveWritesTheListFile()
    {
        World w;
        w.setLines({"c.jpg", "a.jpg"});
        const QString list = w.dir.filePath("my.mpf");
        w.form.SaveButtonClick(); // cancelled chooser: nothing happens
        QVERIFY(!QFile::exists(list));
        QVERIFY(w.messages.shown.isEmpty());

        w.choosers->saveName = list;
        w.form.SaveButtonClick();
        const QByteArray text = (w.pics + "/\r\nc.jpg\r\na.jpg\r\n\r\n").toUtf8();
        QCOMPARE(readAll(list), text);
        QCOMPARE(w.form.MemoList(), text);
        QVERIFY(w.questions.isEmpty());

        w.setLines({});
        w.answer = false;
        w.form.SaveButtonClick();
        QCOMPARE(w.questions, QStringList{list + " already exists... Overwrite?"});
        QCOMPARE(readAll(list), text); // cancelled: untouched
        QCOMPARE(w.form.MemoList(), (w.pics + "/\r\n\r\n").toUtf8());

        w.answer = true;
        w.form.SaveButtonClick();
        QCOMPARE(readAll(list), (w.pics + "/\r\n\r\n").toUtf8()); // an empty list: folder and empty line
        QVERIFY(w.messages.shown.isEmpty());
    }

    void saveFromTheRootFolder()
    {
        World w;
        w.main->listing.setCurrentFolder("/");
        w.setLines({"a.jpg"});
        w.choosers->saveName = w.dir.filePath("root.mpf");
        w.form.SaveButtonClick();
        QCOMPARE(readAll(w.dir.filePath("root.mpf")), QByteArray("/\r\na.jpg\r\n\r\n"));
    }

    void saveRefusesWhatWouldReadBackDifferently()
    {
        World w;
        const QString list = w.dir.filePath("my.mpf");
        QVERIFY(writeFile(list, "old"));
        w.answer = true;
        w.choosers->saveName = list;
        w.form.appendFile("a.jpg");
        w.form.appendFile("two\nlines.jpg");
        w.form.SaveButtonClick();
        QCOMPARE(w.messages.shown.size(), 1);
        QVERIFY(w.messages.shown.first().contains("two\nlines.jpg"));
        QCOMPARE(w.choosers->asked, 0);
        QVERIFY(w.questions.isEmpty());
        QCOMPARE(readAll(list), QByteArray("old"));
    }

    void aFailedSaveIsToldAndLeavesTheOldFile()
    {
        World w;
        const QString list = w.dir.filePath("my.mpf");
        const QString link = w.dir.filePath("link.mpf");
        QVERIFY(writeFile(list, "old"));
        QVERIFY(QFile::link(list, link));
        w.answer = true;
        w.choosers->saveName = link;
        w.form.appendFile("a.jpg");
        w.form.SaveButtonClick();
        QCOMPARE(w.messages.shown.size(), 1);
        QVERIFY2(w.messages.shown.first().contains(link), qPrintable(w.messages.shown.first()));
        QCOMPARE(readAll(list), QByteArray("old"));
    }

    void loadSwitchesTheFolderAndTheKind_data()
    {
        QTest::addColumn<QString>("firstName");
        QTest::addColumn<QList<int>>("kinds");
        QTest::newRow("jpg selects gif and jpg") << "b.jpg" << QList<int>{mkGifJpg};
        QTest::newRow("JPG") << "B.JPG" << QList<int>{mkGifJpg};
        QTest::newRow("gif") << "x.gif" << QList<int>{mkGifJpg};
        QTest::newRow("wav") << "s.wav" << QList<int>{mkWav};
        QTest::newRow("mid") << "s.MID" << QList<int>{mkMid};
        QTest::newRow("mp3") << "s.mp3" << QList<int>{mkMp3};
        QTest::newRow("avi") << "m.avi" << QList<int>{mkAvi};
        QTest::newRow("mpg") << "m.mpg" << QList<int>{mkMpg};
        QTest::newRow("outside the table") << "notes.txt" << QList<int>{};
        QTest::newRow("no extension") << "README" << QList<int>{};
    }

    void loadSwitchesTheFolderAndTheKind()
    {
        QFETCH(QString, firstName);
        QFETCH(QList<int>, kinds);
        World w;
        const QString other = w.dir.filePath("other");
        QVERIFY(QDir().mkpath(other));
        makeFiles(other, {firstName, "z.jpg"});
        w.main->chooseKind(mkJpg);
        w.main->kindsChosen.clear();
        const QString list = w.dir.filePath("in.mpf");
        QVERIFY(writeFile(list, (other + "/\r\n" + firstName + "\r\nz.jpg\r\n\r\n").toUtf8()));
        w.setLines({"old.jpg"});
        w.choosers->openName = list;
        w.open();
        w.form.LoadButtonClick();
        QCOMPARE(w.form.lines(), (QStringList{firstName, "z.jpg"}));
        QCOMPARE(w.main->folderChanges, QStringList{other});
        QCOMPARE(w.main->CurrentFolder(), other);
        QCOMPARE(w.main->kindsChosen, kinds);
        QCOMPARE(int(w.main->listing.CurrentKind()), kinds.isEmpty() ? int(mkJpg) : kinds.first());
        QCOMPARE(w.messages.shown, QStringList{"Using 2 files in " + other + "/ directory"});
        // A folder changed by a load is taken at the next hide, so showing again keeps the list.
        w.close();
        w.open();
        QCOMPARE(w.form.fileCount(), 2);
    }

    void loadRefusalsLeaveEverythingAsItWas_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message"); // a part of the message; %D stands for the temporary folder
        QTest::newRow("missing folder") << QByteArray("%D/gone/\r\na.jpg\r\n") << "%D/gone/ does not exist";
        QTest::newRow("no lines") << QByteArray() << "no folder line";
        QTest::newRow("no names") << QByteArray("%D/\r\n\r\n") << "no file names";
        QTest::newRow("binary") << QByteArray("%D/\r\na\0b\r\n", 10) << "not a text file";
        QTest::newRow("invalid UTF-8") << QByteArray("%D/\r\n\xc3\x28.jpg\r\n") << "not UTF-8";
        QTest::newRow("reaches outside") << QByteArray("%D/\r\n../../etc/passwd\r\n") << "../../etc/passwd";
        QTest::newRow("absolute name") << QByteArray("%D/\r\n/etc/passwd\r\n") << "/etc/passwd";
        QTest::newRow("parent") << QByteArray("%D/\r\na.jpg\r\n..\r\n") << "\"..\"";
        QTest::newRow("too large") << QByteArray("%D/\r\n") + QByteArray("a.jpg\r\n").repeated(200000) << "1 MiB";
    }

    void loadRefusalsLeaveEverythingAsItWas()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        World w;
        const QString list = w.dir.filePath("bad.mpf");
        QVERIFY(writeFile(list, bytes.replace("%D", w.dir.path().toUtf8())));
        message.replace("%D", w.dir.path());
        w.setLines({"keep.jpg", "me.jpg"});
        w.choosers->openName = list;
        w.form.LoadButtonClick();
        QCOMPARE(w.messages.shown.size(), 1);
        QVERIFY2(w.messages.shown.first().contains(message), qPrintable(w.messages.shown.first()));
        QCOMPARE(w.form.lines(), (QStringList{"keep.jpg", "me.jpg"}));
        QVERIFY(w.main->folderChanges.isEmpty());
        QCOMPARE(w.main->CurrentFolder(), w.pics);
    }

    void loadCancelledChangesNothing()
    {
        World w;
        w.setLines({"keep.jpg"});
        w.form.LoadButtonClick();
        QCOMPARE(w.choosers->asked, 1);
        QCOMPARE(w.form.lines(), QStringList{"keep.jpg"});
        QVERIFY(w.messages.shown.isEmpty());
    }

    // Every list the window can hold (names the file list shows, in any order, repeated) comes back.
    void saveThenLoadRoundTrips_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::newRow("one") << QStringList{"a.jpg"};
        QTest::newRow("reordered with repeats") << QStringList{"c.jpg", "a.jpg", "c.jpg", "b.gif"};
        QTest::newRow("blanks in names") << QStringList{" lead.jpg", "  two.gif", "in side.jpg", "end .jpg"};
        QTest::newRow("odd characters") << QStringList{"a\\b.jpg", "100%.gif", "#?*.jpg", "\"q'.gif", "tab\t.jpg"};
        QTest::newRow("non-ASCII") << QStringList{"grün.jpg", "写真.gif", "🎵.jpg"};
        QTest::newRow("long name") << QStringList{QString(250, QLatin1Char('n')) + ".jpg"};
    }

    void saveThenLoadRoundTrips()
    {
        QFETCH(QStringList, names);
        World w(names);
        w.open();
        for (const QString &n : names)
            w.main->clickRow(n);
        QCOMPARE(w.form.lines(), names);
        w.choosers->saveName = w.choosers->openName = w.dir.filePath("round.mpf");
        w.form.SaveButtonClick();
        w.form.ClearButtonClick();
        w.form.LoadButtonClick();
        QCOMPARE(w.form.lines(), names);
        QCOMPARE(w.main->CurrentFolder(), w.pics);
        QCOMPARE(w.messages.shown, QStringList{QString("Using %1 files in %2/ directory").arg(names.size()).arg(w.pics)});
    }

    void theRunReadsTheLinesInOrder()
    {
        World w;
        w.setLines({"c.jpg", "a.jpg", "c.jpg"});
        PickListPort &port = w.form;
        QCOMPARE(port.fileCount(), 3);
        QCOMPARE(port.lines(), (QStringList{"c.jpg", "a.jpg", "c.jpg"}));
    }

    // The real choosers: Qt's own dialogs with the list filter, adding ".mpf" to a name without one.
    // (Qt shows a filter with its runs of blanks made single.)
    void realChoosersUseTheListFilter_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("filter");
        QTest::newRow("save") << true << "MPF (Media Page File) *.mpf (*.mpf)";
        QTest::newRow("open") << false << "MPF (Media Page File) *.mpf (*.mpf)";
    }

    void realChoosersUseTheListFilter()
    {
        QFETCH(bool, save);
        QFETCH(QString, filter);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("there.mpf"), "x"));
        QString seenFilter, seenSuffix;
        bool native = true;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            seenFilter = dialog->nameFilters().value(0);
            seenSuffix = dialog->defaultSuffix();
            native = !dialog->testOption(QFileDialog::DontUseNativeDialog);
            dialog->findChild<QLineEdit *>("fileNameEdit")->setText(dir.filePath(save ? "mine" : "there.mpf"));
            static_cast<QDialog *>(dialog)->accept();
        });
        FileDialogPicklistChoosers choosers;
        const QString chosen = save ? choosers.askSaveName(nullptr) : choosers.askOpenName(nullptr);
        QCOMPARE(seenFilter, filter);
        QCOMPARE(seenSuffix, QStringLiteral("mpf"));
        QVERIFY(!native);
        QCOMPARE(chosen, dir.filePath(save ? "mine.mpf" : "there.mpf"));
    }
};

QTEST_MAIN(TestPicklist)
#include "tst_Picklist.moc"
