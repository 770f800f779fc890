// SPDX-License-Identifier: GPL-2.0-or-later
// The viewer on a real X server: a picture and a sound page as they reach the screen. Set
// TESSALOOM_SHOT_DIR to keep the screenshots.
#include "core/MediaListing.h"
#include "core/PageOptions.h"
#include "platform/SoundPlayer.h"
#include "support/ScreenShot.h"
#include "support/ThumbFixtures.h"
#include "support/WndToneWav.h"
#include "ui/FileListView.h"
#include "ui/Scanner.h"
#include "ui/ScannerControls.h"
#include "ui/ViewerDisplay.h"
#include "ui/main.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

namespace
{

struct RecordedMessages final : MessagePort {
    QStringList texts;
    void showMessage(const QString &text) override { texts << text; }
};

} // namespace

class tst_Viewer_x11 : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QTemporaryDir m_config;
    PageOptions m_options;
    RecordedMessages m_messages;

    // Opens the viewer on one file of the folder, under the kind given.
    TMainForm2 *view(TMainForm &form, int kind, const QString &name)
    {
        form.setMessagePort(&m_messages);
        form.setViewerFactory([&form, this] { return new TMainForm2(form, m_messages, nullptr); });
        form.show();
        if (!QTest::qWaitForWindowExposed(&form) || !form.selectFolder(m_dir.path()))
            return nullptr;
        form.Timer1Timer();
        form.chooseKind(kind);
        FileListView *list = form.controls().FileListBoxSH;
        if (!QTest::qWaitFor([&] { return list->rowCount() > 0; }))
            return nullptr;
        for (int row = 0; row < list->rowCount(); ++row) {
            if (QFileInfo(list->rowPath(row)).fileName() != name)
                continue;
            const QModelIndex index = list->model()->index(row, 0, list->rootIndex());
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
        }
        form.ViewButton2Click();
        auto *viewer = qobject_cast<TMainForm2 *>(form.viewerWindow());
        if (!viewer || !QTest::qWaitForWindowExposed(viewer))
            return nullptr;
        viewer->raise();
        viewer->activateWindow();
        QTest::qWait(400);
        return viewer;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QImage picture(150, 110, QImage::Format_RGB32);
        picture.fill(QColor(220, 40, 40));
        for (int y = 0; y < 110; ++y)
            for (int x = 75; x < 150; ++x)
                picture.setPixelColor(x, y, QColor(40, 60, 220));
        QVERIFY(ThumbFixtures::writeJpeg(m_dir.filePath("flag.jpg"), picture));
        QVERIFY(ThumbFixtures::writeFile(m_dir.filePath("tone.wav"), wndToneWav(4)));
        QVERIFY(ThumbFixtures::writeJpeg(m_dir.filePath("wide.jpg"), picture.scaled(1600, 1200)));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path())); // "Fit to Window" starts on
    }

    // A photo larger than the viewer shows whole within it, fitted: its blue right half is on screen.
    void largePhotoFittedOnScreen()
    {
        TMainForm form(m_options);
        TMainForm2 *viewer = view(form, mkJpg, "wide.jpg");
        QVERIFY(viewer);
        QVERIFY(viewer->FitToWindow->isChecked());
        const QImage shot = screenShot("viewer_fitted.png");
        const QRect shown = viewer->JPG->pictureRect();
        QVERIFY(viewer->JPG->rect().contains(shown));
        const QPoint origin = viewer->JPG->mapToGlobal(shown.topLeft());
        const QColor left = shot.pixelColor(origin + QPoint(shown.width() / 4, shown.height() / 2));
        const QColor right = shot.pixelColor(origin + QPoint(shown.width() * 3 / 4, shown.height() / 2));
        QVERIFY2(left.red() > 180 && left.blue() < 90, qPrintable(left.name()));
        QVERIFY2(right.blue() > 180 && right.red() < 90, qPrintable(right.name()));
        QCOMPARE(viewer->WidthPanel->text(), QStringLiteral(" Width - 1600"));
        viewer->close();
    }

    void pictureOnScreen()
    {
        TMainForm form(m_options);
        TMainForm2 *viewer = view(form, mkJpg, "flag.jpg");
        QVERIFY(viewer);
        const QImage shot = screenShot("viewer_picture.png");
        const QPoint origin = viewer->JPG->mapToGlobal(QPoint(0, 0));
        const QColor left = shot.pixelColor(origin + QPoint(30, 50));
        const QColor right = shot.pixelColor(origin + QPoint(120, 50));
        QVERIFY2(left.red() > 180 && left.blue() < 90, qPrintable(left.name()));
        QVERIFY2(right.blue() > 180 && right.red() < 90, qPrintable(right.name()));
        QCOMPARE(viewer->NameSizePanel->text().left(18), QStringLiteral(" FLAG.JPG    Size "));
        QVERIFY(m_messages.texts.isEmpty());
        viewer->close();
    }

    void soundOnScreen()
    {
        TMainForm form(m_options);
        TMainForm2 *viewer = view(form, mkWav, "tone.wav");
        QVERIFY(viewer);
        QTRY_VERIFY(viewer->soundPlayer().isPlaying());
        const QImage shot = screenShot("viewer_sound.png");
        // The kind picture fills the sound page: its deep blue title band shows near the top.
        const QPoint origin = viewer->MCIPanel->mapToGlobal(QPoint(0, 0));
        const QSize panel = viewer->MCIPanel->size();
        const QColor band = shot.pixelColor(origin + QPoint(panel.width() / 2, panel.height() * 10 / 180));
        QVERIFY2(band.blue() > band.red() + 40, qPrintable(band.name()));
        QVERIFY(viewer->soundPlayer().isPlaying());
        viewer->close();
    }
};

QTEST_MAIN(tst_Viewer_x11)
#include "tst_Viewer_x11.moc"
