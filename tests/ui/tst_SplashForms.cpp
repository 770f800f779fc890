// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/SoundPlayer.h"
#include "ui/OndrelSplash.h"
#include "ui/splash.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtTest/qtestspontaneevent.h>

// The About window and the start-up splash: their pictures, sounds and timers.
class TestSplashForms : public QObject
{
    Q_OBJECT

private:
    static void sendMouse(QWidget *window, QEvent::Type type, const QPoint &at)
    {
        QMouseEvent event(type, QPointF(at), window->mapToGlobal(QPointF(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window, &event);
    }

    static void click(QWidget *window, const QPoint &at)
    {
        sendMouse(window, QEvent::MouseButtonPress, at);
        sendMouse(window, QEvent::MouseButtonRelease, at);
    }

private Q_SLOTS:
    void aboutLayout()
    {
        TSplashForm about(nullptr);
        QCOMPARE(about.size(), QSize(367, 233));
        QCOMPARE(about.windowTitle(), QStringLiteral("About"));
        QVERIFY(about.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(about.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(about.mask().isEmpty()); // the whole picture shows
        QTimer *timer = about.findChild<QTimer *>(QStringLiteral("Timer1"));
        QVERIFY(timer);
        QCOMPARE(timer->interval(), 4000);
        QVERIFY(!timer->isActive()); // stopped until shown
    }

    void aboutClosesOnlyByItsTimer()
    {
        SoundPlayer sounds;
        QSignalSpy played(&sounds, &SoundPlayer::playRequested);
        TSplashForm about(&sounds);
        about.Timer1()->setInterval(400);
        for (int showing = 1; showing <= 2; ++showing) { // again at every opening
            QStringList stillUp;
            QTimer::singleShot(100, &about, [&] {
                QCOMPARE(QApplication::activeModalWidget(), &about);
                QCOMPARE(about.geometry().center(), about.screen()->availableGeometry().center());
                click(&about, QPoint(183, 116));
                QTest::keyClick(&about, Qt::Key_Escape);
                QCloseEvent byUser; // the window manager's close button
                QSpontaneKeyEvent::setSpontaneous(&byUser);
                qApp->notify(&about, &byUser); // sendEvent() would clear the spontaneous mark
                if (about.isVisible() && !byUser.isAccepted())
                    stillUp << QStringLiteral("up");
            });
            const int result = about.exec();
            QCOMPARE(result, int(QDialog::Rejected));
            QCOMPARE(stillUp, QStringList{QStringLiteral("up")});
            QVERIFY(!about.isVisible());
            QVERIFY(!about.Timer1()->isActive());
            QCOMPARE(played.count(), showing);
            QCOMPARE(played.last().at(0).toString(), QStringLiteral("logo.wav"));
        }
    }

    void theProgramCanStillCloseAbout()
    {
        TSplashForm about(nullptr);
        about.Timer1()->setInterval(600000); // only the quit can end this showing
        bool rescued = false;
        // Quitting closes every window first and is refused when one says no.
        QTimer::singleShot(50, &about, [] { QApplication::closeAllWindows(); });
        QTimer::singleShot(5000, &about, [&] {
            rescued = about.isVisible();
            about.done(QDialog::Rejected);
        });
        about.exec();
        QVERIFY(!rescued);
        QVERIFY(!about.isVisible());
        QVERIFY(!about.Timer1()->isActive());
    }

    void aboutClosesEvenWithoutItsSound()
    {
        // The data folder without logo.wav: the failure is reported, the window still closes.
        QTemporaryDir empty;
        const QByteArray dataDir = qgetenv("TESSALOOM_DATA_DIR");
        SoundPlayer sounds;
        TSplashForm silentAbout(&sounds);
        silentAbout.Timer1()->setInterval(200);
        QSignalSpy failed(&sounds, &SoundPlayer::failed);
        qputenv("TESSALOOM_DATA_DIR", empty.path().toLocal8Bit());
        silentAbout.exec();
        qputenv("TESSALOOM_DATA_DIR", dataDir);
        QVERIFY(!silentAbout.isVisible());
        QTRY_COMPARE(failed.count(), 1);
        QVERIFY(failed.at(0).at(0).toString().contains(QStringLiteral("logo.wav")));
    }

    void splashLayout()
    {
        QPointer<TOndrelSplashForm> splash = new TOndrelSplashForm(nullptr);
        QCOMPARE(splash->size(), QSize(312, 301));
        QVERIFY(splash->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(splash->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(splash->testAttribute(Qt::WA_DeleteOnClose));
        QVERIFY(!splash->mask().contains(QPoint(0, 0)));   // black cut out around the picture
        QVERIFY(!splash->mask().contains(QPoint(20, 20))); // beside the medallion
        QVERIFY(splash->mask().contains(QPoint(156, 4)));  // the medallion's top
        QVERIFY(splash->mask().contains(QPoint(156, 200)));
        QCOMPARE(splash->Timer1()->interval(), 4000);
        QVERIFY(!splash->Timer1()->isActive());
        delete splash;
    }

    void splashClosesAtTheFirstClick()
    {
        SoundPlayer sounds;
        QSignalSpy played(&sounds, &SoundPlayer::playRequested);
        QPointer<TOndrelSplashForm> splash = new TOndrelSplashForm(&sounds);
        bool timerRan = false;
        QTimer::singleShot(100, splash, [&] {
            timerRan = splash->Timer1()->isActive();
            QCOMPARE(splash->geometry().center(), splash->screen()->availableGeometry().center());
            click(splash, QPoint(156, 200)); // long before its 4 seconds
        });
        splash->exec();
        QVERIFY(timerRan);
        QCOMPARE(played.count(), 1);
        QCOMPARE(played.at(0).at(0).toString(), QStringLiteral("logo.wav"));
        QTRY_VERIFY(splash.isNull()); // released
    }

    void splashClosesAfterItsTimer()
    {
        QPointer<TOndrelSplashForm> splash = new TOndrelSplashForm(nullptr);
        splash->Timer1()->setInterval(150);
        splash->exec();
        QTRY_VERIFY(splash.isNull());
    }

    void splashCannotBeDragged()
    {
        QPointer<TOndrelSplashForm> splash = new TOndrelSplashForm(nullptr);
        splash->show();
        QVERIFY(QTest::qWaitForWindowExposed(splash));
        const QPoint start = splash->pos();
        sendMouse(splash, QEvent::MouseButtonPress, QPoint(100, 200));
        sendMouse(splash, QEvent::MouseMove, QPoint(160, 240));
        QCOMPARE(splash->pos(), start);
        QVERIFY(splash->isVisible());
        sendMouse(splash, QEvent::MouseButtonRelease, QPoint(160, 240)); // still a click
        QTRY_VERIFY(splash.isNull());
    }
};

QTEST_MAIN(TestSplashForms)
#include "tst_SplashForms.moc"
