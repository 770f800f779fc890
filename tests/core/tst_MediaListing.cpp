// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/MediaListing.h"
#include "core/PageOptions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A file list over a fixed folder content, filtered by the masks as the real view is.
class FakeRows : public FileListRows
{
public:
    QString folder;
    QStringList all;
    QStringList shown;
    QString masks;
    int selected = -1;
    int reads = 0;

    void setMaskString(const QString &m) override
    {
        if (m == masks)
            return;
        masks = m;
        reread();
    }
    void reread()
    {
        ++reads;
        shown.clear();
        for (const QString &n : all)
            if (MediaKinds::matchesMasks(n, masks))
                shown.append(n);
    }
    int rowCount() const override { return shown.size(); }
    QString rowPath(int row) const override { return folder + "/" + shown.at(row); }
    int selectedRow() const override { return selected; }
    bool rowIsFile(int) const override { return true; }
};

class Recorder : public ViewerPort, public PickListPort, public MessagePort
{
public:
    QStringList shown, picked, messages;
    void showFile(const QString &n) override { shown.append(n); }
    void appendFile(const QString &n) override { picked.append(n); }
    int fileCount() const override { return int(picked.size()); }
    QStringList lines() const override { return picked; }
    void showMessage(const QString &t) override { messages.append(t); }
};

class TestMediaListing : public QObject
{
    Q_OBJECT

    struct World {
        FakeRows rows;
        PageOptions options;
        MainState state;
        Recorder ui;
        MediaListing listing{rows, options, state};
        World(const QStringList &files)
        {
            rows.folder = "/srv/pics";
            rows.all = files;
            rows.reread();
            listing.setCurrentFolder(rows.folder);
            listing.setViewer(&ui);
            listing.setPickList(&ui);
            listing.setMessages(&ui);
        }
    };

private Q_SLOTS:
    void startState()
    {
        World w({"a.gif"});
        QCOMPARE(int(w.listing.CurrentKind()), 0);
        QCOMPARE(w.listing.ListLabel(), QStringLiteral("Picture List"));
        QVERIFY(w.listing.FileListBox().isEmpty());
    }
    void kinds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("label");
        const QStringList folder{"a.gif", "B.JPG", "c.Jpg", "d.jpeg", "e.wav", "f.MP3", "g.avi", "h.mpg"};
        QTest::newRow("1") << 1 << QStringList{"a.gif", "B.JPG", "c.Jpg"} << "GIF/JPG List: 3";
        QTest::newRow("3") << 3 << QStringList{"B.JPG", "c.Jpg"} << "JPG List: 2";
        QTest::newRow("5 empty") << 5 << QStringList{} << "MID List: 0";
        QTest::newRow("6") << 6 << QStringList{"f.MP3"} << "MP3 List: 1";
        QTest::newRow("7") << 7 << QStringList{"g.avi"} << "AVI Movie List: 1";
        QTest::newRow("8") << 8 << QStringList{"h.mpg"} << "MPG Movie List: 1";
    }
    void kinds()
    {
        QFETCH(int, kind);
        World w({"a.gif", "B.JPG", "c.Jpg", "d.jpeg", "e.wav", "f.MP3", "g.avi", "h.mpg"});
        w.listing.chooseKind(kind);
        QCOMPARE(int(w.listing.CurrentKind()), kind);
        QTEST(w.listing.FileListBox(), "files");
        QTEST(w.listing.ListLabel(), "label");
    }
    void sameKindDoesNotReread()
    {
        World w({"a.gif"});
        w.listing.chooseKind(1);
        const int reads = w.rows.reads;
        w.listing.chooseKind(1);
        QCOMPARE(w.rows.reads, reads);
    }
    void soundKindWithTextDisablesSizes()
    {
        World w({"a.mid"});
        w.options.setHeightEdit(100);
        w.options.setPictureBorderEdit(3);
        w.listing.chooseKind(5);
        QVERIFY(!w.options.sizeEditorsEnabled());
        QCOMPARE(w.options.HeightEdit() + w.options.PictureBorderEdit(), 0);
        QVERIFY(!w.options.anyPercentMarked());
        w.listing.chooseKind(3);
        QVERIFY(w.options.sizeEditorsEnabled());
        QCOMPARE(w.options.HeightEdit(), 0);
        w.listing.chooseKind(5);
        w.listing.chooseKind(7);
        QVERIFY(w.options.sizeEditorsEnabled());
    }
    void clickFeedsPickListAndViewer()
    {
        World w({"a.jpg", "b.jpg", "clip.avi"});
        w.listing.chooseKind(1);
        w.rows.selected = 1;
        w.listing.FileListBoxSHChange(); // a click changes the selection first
        QCOMPARE(w.listing.ClickedFile(), QString());
        w.listing.FileListBoxSHClick();
        QCOMPARE(w.listing.ClickedFile(), QStringLiteral("b.jpg"));
        QVERIFY(w.ui.shown.isEmpty()); // viewer not requested
        w.state.MWindowCheckBox = w.state.ViewerOpen = true;
        w.state.PickListOpen = true;
        w.listing.FileListBoxSHKeyUp();
        w.listing.FileListBoxSHKeyUp();
        QCOMPARE(w.ui.picked, (QStringList{"b.jpg", "b.jpg"}));
        QCOMPARE(w.ui.shown, (QStringList{"b.jpg", "b.jpg"}));
    }
    void clickingAMovieWithTheViewerOpen()
    {
        World w({"a.jpg", "clip.avi"});
        w.listing.chooseKind(7);
        w.state.MWindowCheckBox = w.state.ViewerOpen = w.state.PickListOpen = true;
        w.rows.selected = 0;
        w.listing.FileListBoxSHClick();
        QCOMPARE(w.ui.picked, QStringList{"clip.avi"});
        QCOMPARE(w.ui.messages, QStringList{"Choose GRABBER to view your movie"});
        QVERIFY(w.ui.shown.isEmpty());
    }
    void kindChoiceRefreshesAnOpenViewer()
    {
        World w({"a.jpg", "b.gif"});
        w.listing.chooseKind(1);
        w.rows.selected = 0;
        w.state.MWindowCheckBox = true;
        w.listing.chooseKind(2);
        QCOMPARE(w.ui.shown, QStringList{"b.gif"});
        QVERIFY(w.state.ViewerOpen);
    }
    void pickListRunKeepsTheWorkingList()
    {
        World w({"a.jpg", "b.jpg"});
        w.listing.chooseKind(3);
        w.listing.FileListBox() = QStringList{"c.jpg"};
        w.ui.picked = {"x.jpg", "y.jpg", "z.jpg"};
        w.options.setUsePickList(true);
        w.state.GenerationRunning = true;
        w.rows.all.append("sm_a.jpg");
        w.rows.reread();
        w.listing.FileListBoxSHChange();
        QCOMPARE(w.listing.FileListBox(), QStringList{"c.jpg"});
        QCOMPARE(w.listing.ListLabel(), QStringLiteral("JPG List: 3"));
        w.state.GenerationRunning = false;
        w.listing.FileListBoxSHChange();
        QCOMPARE(w.listing.FileListBox(), (QStringList{"a.jpg", "b.jpg", "sm_a.jpg"}));
    }
    void quittingIgnoresChangesWithoutSelection()
    {
        World w({"a.jpg"});
        w.listing.chooseKind(3);
        w.state.Quitting = true;
        w.rows.all.clear();
        w.rows.reread();
        w.listing.FileListBoxSHChange();
        QCOMPARE(w.listing.FileListBox(), QStringList{"a.jpg"});
        w.state.Quitting = false;
        w.listing.FileListBoxSHChange();
        QVERIFY(w.listing.FileListBox().isEmpty());
        QCOMPARE(w.listing.ListLabel(), QStringLiteral("JPG List: 0"));
    }
    void resortedRowsGiveTheWorkingListOrder()
    {
        World w({"a.jpg", "b.jpg", "c.jpg"});
        w.listing.chooseKind(3);
        std::reverse(w.rows.shown.begin(), w.rows.shown.end());
        w.listing.FileListBoxSHChange();
        QCOMPARE(w.listing.FileListBox(), (QStringList{"c.jpg", "b.jpg", "a.jpg"}));
    }
    void followingAFolderReadsThumbnailsAndMovesThere()
    {
        QTemporaryDir dir;
        for (const char *n : {"a.jpg", "sm_a.jpg", "SM_B.JPG"}) {
            QFile f(dir.filePath(n));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        World w({"a.jpg"});
        w.listing.setCurrentFolder(dir.path());
        w.listing.FileListBoxSHChange();
        QCOMPARE(w.listing.ThumbnailListBox(), (QStringList{"sm_a.jpg", "SM_B.JPG"}));
        QCOMPARE(QDir::currentPath(), QDir(dir.path()).canonicalPath());
        QDir::setCurrent(QDir::tempPath());
    }
};

QTEST_GUILESS_MAIN(TestMediaListing)
#include "tst_MediaListing.moc"
