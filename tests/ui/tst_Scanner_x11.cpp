// SPDX-License-Identifier: GPL-2.0-or-later
// The main window on a real X server: its outline is cut out of the screen, and the pointer really
// lights the quit button. TESSALOOM_SHOT_DIR, when set, receives the screenshots for a person to see.
#include "core/PageOptions.h"
#include "ui/FileListView.h"
#include "ui/Picklist.h"
#include "ui/kit/PictureButton.h"
#include "support/ScreenShot.h"
#include "ui/Scanner.h"
#include "ui/ScannerControls.h"
#include "ui/kit/ShadowText.h"
#include "ui/prompt2.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

namespace
{

const QColor kBackdrop(64, 160, 64);

// A plain green window under the main window, so cut-out pixels show green.
class Backdrop final : public QWidget
{
protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), kBackdrop); }
};

} // namespace

class TestScannerX11 : public QObject
{
    Q_OBJECT

    QTemporaryDir m_config;

private Q_SLOTS:
    void initTestCase() { qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8()); }

    void outlineCutOutAndHoverLook()
    {
        Backdrop backdrop;
        backdrop.setGeometry(QApplication::primaryScreen()->geometry());
        backdrop.show();
        QVERIFY(QTest::qWaitForWindowExposed(&backdrop));
        PageOptions options;
        TMainForm form(options);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTRY_VERIFY(form.controls().ListLabel->isVisible());
        QTest::qWait(200); // let the server draw

        const QImage shot = screenShot("scanner.png");
        const QPoint origin = form.geometry().topLeft();
        QCOMPARE(QColor(shot.pixel(origin + QPoint(2, 2))), kBackdrop);             // corner cut out
        QCOMPARE(QColor(shot.pixel(origin + QPoint(620, 440))), kBackdrop);         // below the body
        QVERIFY(QColor(shot.pixel(origin + QPoint(330, 50))) != kBackdrop);         // title band shown
        QVERIFY(QColor(shot.pixel(origin + QPoint(80, 200))) != QColor(Qt::black)); // no key colour left

        ShadowText *quit = form.controls().HaltButton;
        QCursor::setPos(quit->mapToGlobal(quit->rect().center()));
        QTRY_VERIFY(quit->isHot());
        QTest::qWait(100);
        screenShot("scanner_hover.png");
        QCursor::setPos(origin + QPoint(330, 20));
        QTRY_VERIFY(!quit->isHot());
    }

    // A person's first look: long names in a deep folder, the chosen kind, the pick list opened beside
    // the file list, the minimise button under the pointer and a long message.
    void firstLook()
    {
        QTemporaryDir dir;
        const QString deep = dir.path() + "/Summer holidays by the sea/Day three at the harbour/camera one";
        QVERIFY(QDir().mkpath(deep));
        for (const char *name :
             {"sm_beach day at the seaside.jpg", "Big Picture.JPG", "a.jpg", "harbour at dusk.jpg"}) {
            QFile file(deep + '/' + QLatin1String(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        PageOptions options;
        TMainForm form(options);
        TPickListForm pickList;
        form.setPickListWindow(&pickList);
        form.move(40, 40);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.selectFolder(deep));
        form.Timer1Timer();
        form.chooseKind(mkJpg);
        QTRY_COMPARE(form.controls().FileListBoxSH->rowCount(), 4);
        QTest::mouseClick(form.controls().PickListButton, Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowExposed(&pickList));
        const QRect list(form.controls().FileListBoxSH->mapToGlobal(QPoint()),
                         form.controls().FileListBoxSH->size());
        QVERIFY(!pickList.frameGeometry().intersects(list));
        ShadowText *minimise = form.controls().Shrinkit;
        QCursor::setPos(minimise->mapToGlobal(minimise->rect().center()));
        QTRY_VERIFY(minimise->isHot());
        QTest::qWait(300);
        screenShot("scanner_first_look.png");

        TPrompt2Form message;
        message.setText("Can not rename " + deep + "/harbour at dusk.jpg to " + deep +
                        "/harbouratdusk.jpg (Permission denied)");
        message.show();
        QVERIFY(QTest::qWaitForWindowExposed(&message));
        QTest::qWait(300);
        screenShot("prompt_long.png");
        message.hide();
        pickList.hide();
    }
};

QTEST_MAIN(TestScannerX11)
#include "tst_Scanner_x11.moc"
