// The main window on a real X server: its outline is cut out of the screen, and the pointer really
// lights the quit button. TESSALOOM_SHOT_DIR, when set, receives the screenshots for a person to see.
#include "core/PageOptions.h"
#include "support/ScreenShot.h"
#include "ui/Scanner.h"
#include "ui/ScannerControls.h"
#include "ui/ShadowText.h"

#include <QApplication>
#include <QCursor>
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

        TextButton *quit = form.controls().HaltButton;
        QCursor::setPos(quit->mapToGlobal(quit->rect().center()));
        QTRY_VERIFY(quit->isHot());
        QTest::qWait(100);
        screenShot("scanner_hover.png");
        QCursor::setPos(origin + QPoint(330, 20));
        QTRY_VERIFY(!quit->isHot());
    }
};

QTEST_MAIN(TestScannerX11)
#include "tst_Scanner_x11.moc"
