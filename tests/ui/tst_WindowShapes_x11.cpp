// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/DataFiles.h"
#include "ui/OndrelSplash.h"
#include "ui/guager.h"
#include "ui/prompt2.h"
#include "ui/splash.h"

#include <QGuiApplication>
#include <QImage>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <memory>

// On a real X server the black of each skin is cut out of its window: the desktop shows through
// exactly there, and everywhere else the screen shows the skin.
class TestWindowShapes : public QObject
{
    Q_OBJECT

private:
    static inline const QColor Desktop{64, 160, 64};
    std::unique_ptr<QWidget> m_desktop;

    // Compares the screen under the window with its skin, pixel by pixel, outside its controls.
    static void compareWithSkin(QWidget *window, const QString &skinFile, bool cutOut)
    {
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTest::qWait(150); // let the server draw it
        const QImage skin = QImage(DataFiles::path(skinFile)).convertToFormat(QImage::Format_RGB32);
        const QRect at = window->geometry();
        QCOMPARE(at.size(), skin.size());
        const QImage screen = window->screen()
                                  ->grabWindow(0, at.x(), at.y(), at.width(), at.height())
                                  .toImage()
                                  .convertToFormat(QImage::Format_RGB32);
        QCOMPARE(screen.size(), skin.size());
        QList<QRect> controls;
        for (QWidget *child : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            controls << child->geometry();
        int cut = 0, shown = 0;
        for (int y = 0; y < skin.height(); ++y) {
            for (int x = 0; x < skin.width(); ++x) {
                const QPoint p(x, y);
                if (skin.pixel(p) == qRgb(0, 0, 0) && cutOut) {
                    ++cut;
                    if (screen.pixel(p) != Desktop.rgb())
                        QFAIL(qPrintable(
                            QStringLiteral("%1: not cut out at %2,%3").arg(skinFile).arg(x).arg(y)));
                    continue;
                }
                bool underControl = false;
                for (const QRect &control : std::as_const(controls))
                    underControl |= control.contains(p);
                if (underControl)
                    continue;
                ++shown;
                if (screen.pixel(p) != skin.pixel(p))
                    QFAIL(qPrintable(
                        QStringLiteral("%1: skin not shown at %2,%3").arg(skinFile).arg(x).arg(y)));
            }
        }
        QCOMPARE(cut > 0, cutOut);
        QVERIFY(shown > skin.width() * skin.height() / 3);
        const QString shots = qEnvironmentVariable("TESSALOOM_SHOT_DIR");
        if (!shots.isEmpty())
            window->screen()->grabWindow(0).save(shots + u'/' + window->objectName() +
                                                 QStringLiteral(".png"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        m_desktop = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint);
        m_desktop->setAutoFillBackground(true);
        QPalette palette;
        palette.setColor(QPalette::Window, Desktop);
        m_desktop->setPalette(palette);
        m_desktop->setGeometry(m_desktop->screen()->geometry());
        m_desktop->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_desktop.get()));
    }
    void cleanupTestCase() { m_desktop.reset(); }

    void messageWindow()
    {
        TPrompt2Form prompt;
        prompt.setText(QStringLiteral("/home/ann/pictures/holiday/MediaPage.htm was created."));
        prompt.show();
        compareWithSkin(&prompt, QStringLiteral("prompt2_skin.png"), true);
    }

    void progressWindow()
    {
        QWidget main;
        main.setGeometry(300, 100, 649, 450); // not shown: only its place counts
        QPointer<TGuageForm> progress = new TGuageForm(&main);
        progress->setMaximum(7);
        for (int i = 0; i < 3; ++i)
            progress->step();
        progress->show();
        QCOMPARE(progress->pos(), QPoint(380, 130));
        compareWithSkin(progress, QStringLiteral("guager_skin.png"), true);
        progress->close();
    }

    void aboutWindowShowsItsWholePicture()
    {
        TSplashForm about(nullptr);
        about.show();
        about.Timer1()->stop();
        compareWithSkin(&about, QStringLiteral("splash_skin.png"), false);
        about.hide();
    }

    void startUpSplash()
    {
        QPointer<TOndrelSplashForm> splash = new TOndrelSplashForm(nullptr);
        splash->show();
        splash->Timer1()->stop();
        compareWithSkin(splash, QStringLiteral("ondrelsplash_skin.png"), true);
        delete splash;
    }
};

QTEST_MAIN(TestWindowShapes)
#include "tst_WindowShapes_x11.moc"
