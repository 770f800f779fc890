// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/MovieFixtures.h"
#include "support/PageFixtures.h"

#include "core/MediaListing.h"
#include "core/PageOptions.h"
#include "generator/GenerationRun.h"
#include "platform/MoviePlayback.h"
#include "ui/FileListView.h"
#include "ui/FolderTreeView.h"
#include "ui/ProgramWindows.h"
#include "ui/ScannerControls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The whole program as a person uses it: choose a folder and a kind, press Create, answer the name
// dialog, and find the page and its thumbnails on disk.
class TestProgramWindows : public QObject
{
    Q_OBJECT

    // Answers each modal window as it opens: the name dialog (preview off, page name given) and
    // the message window (its text recorded).
    struct Answerer {
        QStringList messages;
        QString pageName = QStringLiteral("Holiday.htm");
        QStringList errors;
        QStringList questions; // the question before a movie page, and its answer below
        QMessageBox::StandardButton moviePicturesAnswer = QMessageBox::Ok;
        // Answers the name dialog with the Enter key, as a person typing the name does: the press
        // closes the dialog, so the key's release lands in this widget of the main window.
        QPointer<QWidget> enterReleasedIn;
        QPointer<QWidget> viewer;     // watched while the messages come
        QList<bool> viewerShownAtMessages;
        QTimer timer;
        Answerer()
        {
            timer.setInterval(20);
            QObject::connect(&timer, &QTimer::timeout, [this] { answer(); });
            timer.start();
        }
        void answer()
        {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            if (modal->objectName() == QLatin1String("TNameitForm")) {
                auto *name = modal->findChild<QLineEdit *>(QStringLiteral("WebNameEdit"));
                name->setText(pageName);
                auto *preview = modal->findChild<QCheckBox *>(QStringLiteral("Previewit"));
                if (preview->isChecked())
                    preview->click();
                if (enterReleasedIn) {
                    QTest::keyPress(name, Qt::Key_Return);
                    QTest::keyRelease(enterReleasedIn, Qt::Key_Return);
                } else {
                    modal->findChild<QAbstractButton *>(QStringLiteral("OKButton"))->click();
                }
            } else if (auto *box = qobject_cast<QMessageBox *>(modal);
                       box && box->objectName() == QLatin1String("MoviePicturesQuestion")) {
                questions.append(box->text());
                box->button(moviePicturesAnswer)->click();
            } else if (auto *box = qobject_cast<QMessageBox *>(modal)) { // an error box
                errors.append(box->text());
                box->button(QMessageBox::Ok)->click();
            } else if (auto *text = modal->findChild<QLabel *>(QStringLiteral("promptmessage"))) {
                messages.append(text->text());
                if (viewer)
                    viewerShownAtMessages.append(viewer->isVisible());
                modal->findChild<QAbstractButton *>(QStringLiteral("OKButton"))->click();
            }
        }
    };

    // The main window shown on a folder with a kind chosen, as a person would leave it.
    static bool showFolder(TMainForm &form, const QString &folder, MediaKind kind)
    {
        form.show();
        if (!QTest::qWaitForWindowExposed(&form) || !form.selectFolder(folder))
            return false;
        // The start-up timer chooses kind 1 half a second after the first showing; run it now, so a
        // slow machine cannot have it undo the kind chosen here.
        form.Timer1Timer();
        form.chooseKind(kind);
        return true;
    }

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    }

    void createMakesThePageAndThumbnails()
    {
        QTemporaryDir dir;
        QVERIFY(PageFixtures::write(dir.filePath("b.jpg"), PageFixtures::jpeg(64, 48)));
        QVERIFY(PageFixtures::write(dir.filePath("a.jpg"), PageFixtures::jpeg(40, 30)));
        QVERIFY(PageFixtures::write(dir.filePath("c.gif"), PageFixtures::gif(20, 10)));

        PageOptions options;
        ProgramWindows windows(options);
        TMainForm &form = windows.mainForm();
        QVERIFY(showFolder(form, dir.path(), mkJpg));
        QTRY_COMPARE(form.listing().FileListBox(), (QStringList{"a.jpg", "b.jpg"}));

        Answerer answerer;
        bool written = false;
        connect(&windows.run(), &GenerationRun::runFinished, this, [&written](bool page) { written = page; });
        QTest::mouseClick(form.findChild<QAbstractButton *>(QStringLiteral("WebButton")), Qt::LeftButton);
        QVERIFY(written);

        const QString page = dir.filePath("Holiday.htm");
        QCOMPARE(answerer.messages, QStringList{page + " was created."});
        QFile file(page);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray html = file.readAll();
        QVERIFY(html.contains("<A HREF=\"a.jpg\"><IMG SRC=\"sm_a.jpg\" ALT=\"a.jpg\" HEIGHT=15 WIDTH=20 BORDER=0>"));
        QVERIFY(html.indexOf("a.jpg") < html.indexOf("b.jpg"));
        QVERIFY(!html.contains("c.gif"));
        QCOMPARE(QImage(dir.filePath("sm_a.jpg")).size(), QSize(20, 15));
        QCOMPARE(QImage(dir.filePath("sm_b.jpg")).size(), QSize(32, 24));
        QVERIFY(!form.state().GenerationRunning);
        QCOMPARE(form.state().MyFile, page);
        QCOMPARE(options.WebNameEdit(), QStringLiteral("Holiday.htm"));
    }

    // View opens the viewer on the clicked file; a run hides it while it works and closes it at its end.
    void viewerAroundARun()
    {
        QTemporaryDir dir;
        QVERIFY(PageFixtures::write(dir.filePath("a.jpg"), PageFixtures::jpeg(40, 30)));
        PageOptions options;
        ProgramWindows windows(options);
        TMainForm &form = windows.mainForm();
        QVERIFY(showFolder(form, dir.path(), mkJpg));
        QTRY_COMPARE(form.listing().FileListBox(), QStringList{"a.jpg"});
        FileListView *list = form.controls().FileListBoxSH;
        const QModelIndex row = list->model()->index(0, 0, list->rootIndex());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(row).center());
        QCOMPARE(form.listing().ClickedFile(), QStringLiteral("a.jpg"));
        form.ViewButton2Click();
        QPointer<QWidget> viewer = form.viewerWindow();
        QVERIFY(viewer && viewer->isVisible());
        QCOMPARE(viewer->windowTitle(), QStringLiteral("Viewer"));
        QCOMPARE(viewer->findChild<QLabel *>(QStringLiteral("WidthPanel"))->text(), QStringLiteral(" Width - 40"));

        Answerer answerer;
        answerer.viewer = viewer;
        form.WebButtonClick();
        QCOMPARE(answerer.messages, QStringList{dir.filePath("Holiday.htm") + " was created."});
        QCOMPARE(answerer.viewerShownAtMessages, QList<bool>{false});
        QTRY_VERIFY(!viewer);
        QVERIFY(!form.state().ViewerOpen && !form.state().MWindowCheckBox);
    }

    void createWithNothingToUseSaysSo()
    {
        QTemporaryDir dir;
        PageOptions options;
        ProgramWindows windows(options);
        TMainForm &form = windows.mainForm();
        QVERIFY(showFolder(form, dir.path(), mkMp3));
        Answerer answerer;
        form.WebButtonClick();
        QCOMPARE(answerer.messages, QStringList{"There are no files to use..."});
        QVERIFY(!form.state().GenerationRunning);
    }

    // The Grabber button shows the grabber, which has played its start movie since start-up; the
    // power button closes it and clears the main window's check.
    void grabberOpensAndClosesFromTheMainWindow()
    {
        PageOptions options;
        ProgramWindows windows(options);
        TMainForm &form = windows.mainForm();
        TAVIForm &grabber = windows.grabberForm();
        QVERIFY(!grabber.isVisible());
        QTRY_VERIFY(grabber.playback().isOpen());
        QVERIFY(grabber.playback().path().endsWith("/start.avi"));
        QVERIFY(!grabber.chosenMovie());
        form.GrabberButtonClick();
        QVERIFY(grabber.isVisible());
        QVERIFY(form.state().GrabberCheckBox);
        QTest::mouseClick(grabber.findChild<QAbstractButton *>("PowerButton"), Qt::LeftButton);
        QVERIFY(!grabber.isVisible());
        QVERIFY(!form.state().GrabberCheckBox);
        form.GrabberButtonClick();
        QVERIFY(grabber.isVisible());
        form.GrabberButtonClick();
        QVERIFY(!grabber.isVisible());
        QVERIFY(!form.state().GrabberCheckBox);
    }

    void pickListOrdersThePage()
    {
        QTemporaryDir dir;
        for (const char *name : {"a.gif", "b.gif", "c.gif"})
            QVERIFY(PageFixtures::write(dir.filePath(name), PageFixtures::gif(20, 10)));
        PageOptions options;
        ProgramWindows windows(options);
        TMainForm &form = windows.mainForm();
        QVERIFY(showFolder(form, dir.path(), mkGif));
        QTRY_COMPARE(form.listing().FileListBox().size(), 3);

        form.PickListButtonClick();
        QVERIFY(windows.pickListForm().isVisible());
        QVERIFY(!form.controls().DirectoryListBox->isEnabled());
        // Clicks in the file list collect the files in the order clicked.
        FileListView *list = form.controls().FileListBoxSH;
        for (int row : {2, 0}) {
            const QRect place = list->visualRect(list->model()->index(row, 0, list->rootIndex()));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
        }
        QCOMPARE(windows.pickListForm().lines(), (QStringList{"c.gif", "a.gif"}));

        options.setUsePickList(true);
        options.setShownamebox(false);
        options.setPreviewit(false);
        Answerer answerer;
        form.WebButtonClick();
        QCOMPARE(answerer.messages, QStringList{dir.filePath("MediaPage.htm") + " was created."});
        QFile file(dir.filePath("MediaPage.htm"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray html = file.readAll();
        QVERIFY(html.indexOf("c.gif") < html.indexOf("a.gif"));
        QVERIFY(!html.contains("b.gif"));
        QCOMPARE(form.listing().FileListBox(), (QStringList{"c.gif", "a.gif"}));

        form.PickListButtonClick();
        QVERIFY(!windows.pickListForm().isVisible());
        QVERIFY(form.controls().DirectoryListBox->isEnabled());
    }

    // Before a movie page, the person is asked whether to make the missing movie pictures: OK makes
    // them from the frame at a tenth of each movie, keeps a picture that is there, and says how many
    // were made; Cancel makes the page as it is.
    void moviePageOffersTheMissingPictures_data()
    {
        QTest::addColumn<bool>("make");
        QTest::newRow("ok") << true;
        QTest::newRow("cancel") << false;
    }
    void moviePageOffersTheMissingPictures()
    {
        QFETCH(bool, make);
        QTemporaryDir dir;
        const QString failure = MovieFixtures::make(
            dir.path(), {"One.avi:mjpeg:64x48", "Two.avi:mjpeg:64x48", "Kept.avi:mjpeg:64x48"});
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        const QByteArray own = PageFixtures::jpeg(40, 30); // the person's own picture for Kept.avi
        QVERIFY(PageFixtures::write(dir.filePath("Kept.jpg"), own));
        PageOptions options;
        ProgramWindows windows(options);
        TMainForm &form = windows.mainForm();
        QVERIFY(showFolder(form, dir.path(), mkAvi));
        QTRY_COMPARE(form.listing().FileListBox().size(), 3);
        Answerer answerer;
        answerer.moviePicturesAnswer = make ? QMessageBox::Ok : QMessageBox::Cancel;
        form.WebButtonClick();
        QCOMPARE(answerer.questions.size(), 1);
        QVERIFY2(answerer.questions.at(0).contains("Movies without a picture: 2."),
                 qPrintable(answerer.questions.at(0)));
        const QString page = dir.filePath("Holiday.htm") + " was created.";
        if (make) {
            QCOMPARE(answerer.messages, QStringList({"Pictures were made for 2 of 2 movies.", page}));
            QVERIFY2(answerer.errors.isEmpty(), qPrintable(answerer.errors.join('\n')));
        } else { // as before: the page builder finds the first movie's picture missing
            QVERIFY(!answerer.messages.contains("Pictures were made for 2 of 2 movies."));
        }
        for (const char *name : {"One.jpg", "Two.jpg"}) {
            const QImage picture(dir.filePath(name), "JPEG");
            QCOMPARE(picture.isNull(), !make);
            if (make)
                QCOMPARE(MovieFixtures::frameNumberIn(picture, 5, 5), MovieFixtures::FrameCount / 10);
        }
        QFile kept(dir.filePath("Kept.jpg"));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), own);
    }

    // Runs from the pick list leave it as the person made it, and turning "Use Pick List" off gives
    // the folder's list back at once, to the caption and to the next page.
    void pickListRunsLeaveThePickListAlone()
    {
        QTemporaryDir dir;
        for (const char *name : {"a.jpg", "b.jpg", "c.jpg"})
            QVERIFY(PageFixtures::write(dir.filePath(name), PageFixtures::jpeg(40, 30)));
        PageOptions options;
        ProgramWindows windows(options);
        TMainForm &form = windows.mainForm();
        QVERIFY(showFolder(form, dir.path(), mkJpg));
        QTRY_COMPARE(form.listing().FileListBox().size(), 3);
        form.PickListButtonClick();
        FileListView *list = form.controls().FileListBoxSH;
        for (int row : {2, 0}) {
            const QRect place = list->visualRect(list->model()->index(row, 0, list->rootIndex()));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
        }
        const QStringList picked{"c.jpg", "a.jpg"};
        QCOMPARE(windows.pickListForm().lines(), picked);

        options.setUsePickList(true);
        Answerer answerer;
        answerer.enterReleasedIn = list;
        const auto cellsOfPage = [&dir] {
            QFile file(dir.filePath("Holiday.htm"));
            return file.open(QIODevice::ReadOnly) ? file.readAll().count("<A HREF=") : -1;
        };
        for (int run = 0; run < 2; ++run) {
            QFile::remove(dir.filePath("Holiday.htm")); // no overwrite question in between
            form.WebButtonClick();
            QCOMPARE(answerer.messages.size(), run + 1);
            QCOMPARE(windows.pickListForm().lines(), picked);
            QCOMPARE(cellsOfPage(), 2);
        }
        QCOMPARE(form.listing().FileListBox(), picked);

        options.setUsePickList(false);
        QCOMPARE(form.listing().FileListBox(), (QStringList{"a.jpg", "b.jpg", "c.jpg"}));
        QCOMPARE(form.listing().ListLabel(), QStringLiteral("JPG List: 3"));
        QFile::remove(dir.filePath("Holiday.htm"));
        form.WebButtonClick();
        QCOMPARE(answerer.messages.size(), 3);
        QCOMPARE(cellsOfPage(), 3);
        QCOMPARE(windows.pickListForm().lines(), picked);
    }

private:
    QTemporaryDir m_config;
};

QTEST_MAIN(TestProgramWindows)
#include "tst_ProgramWindows.moc"
