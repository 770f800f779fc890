// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/PageOptions.h"
#include "ui/kit/BalloonHint.h"
#include "ui/kit/HelpHints.h"
#include "ui/kit/Skin.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QTest>

class TestSkinAndHints : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void skinShapesAndDragsTheWindow()
    {
        QWidget window;
        Skin *skin = Skin::apply(&window, "sample_skin.png", QColor(Qt::black));
        QCOMPARE(window.size(), QSize(240, 120));
        QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!skin->pixmap().isNull());
        QVERIFY(!window.mask().contains(QPoint(0, 0)));   // black corner cut out
        QVERIFY(window.mask().contains(QPoint(120, 60))); // body kept
        window.move(100, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint start = window.pos();
        QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(50, 50));
        QMouseEvent move(QEvent::MouseMove, QPointF(80, 70), window.mapToGlobal(QPointF(80, 70)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &move);
        QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(80, 70));
        QCOMPARE(window.pos(), start + QPoint(30, 20));
    }

    // Where the program cannot place its windows, a window that must open beside another is held in
    // it: the host keeps room for it, takes clicks there only while the guest shows and not where
    // the guest is cut out, and a drag by the guest's body moves both as one.
    void aHeldGuestShowsBesideItsHostAndDragsIt()
    {
        QWidget host;
        Skin::apply(&host, "sample_skin.png", QColor(Qt::black));
        auto *guest = new QWidget;
        Skin::apply(guest, "sample_skin.png", QColor(Qt::black));
        Skin::of(&host)->holdBeside(guest);
        QCOMPARE(guest->parentWidget(), &host);
        QVERIFY(!guest->isWindow());
        host.move(100, 100);
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        QCOMPARE(host.size(), QSize(240 + 4 + 240, 120));
        QVERIFY(!host.mask().contains(QPoint(244 + 120, 60))); // the guest is not open yet

        guest->show();
        QCOMPARE(host.size(), QSize(240 + 4 + 240, 120));
        QCOMPARE(guest->geometry(), QRect(244, 0, 240, 120)); // beside the skin, top edges level
        QVERIFY(host.mask().contains(QPoint(244 + 120, 60))); // the guest's body takes clicks
        QVERIFY(!host.mask().contains(QPoint(244, 0)));       // its cut corner does not
        QVERIFY(!host.mask().contains(QPoint(242, 60)));      // nor the gap

        const QPoint start = host.pos();
        QTest::mousePress(guest, Qt::LeftButton, {}, QPoint(50, 50));
        QMouseEvent move(QEvent::MouseMove, QPointF(80, 70), guest->mapToGlobal(QPointF(80, 70)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(guest, &move);
        QTest::mouseRelease(guest, Qt::LeftButton, {}, QPoint(80, 70));
        QCOMPARE(host.pos(), start + QPoint(30, 20));
        QCOMPARE(guest->pos(), QPoint(244, 0));

        guest->hide();
        QCOMPARE(host.size(), QSize(240 + 4 + 240, 120));
        QVERIFY(!host.mask().contains(QPoint(244 + 120, 60)));
        QVERIFY(host.mask().contains(QPoint(120, 60)));
    }

    void hintsFollowTheHelpSystem()
    {
        PageOptions options;
        HelpHints::instance().setOptions(&options);
        QWidget window;
        auto *followed = new QLabel("followed", &window);
        auto *always = new QLabel("always", &window);
        always->move(0, 40);
        HelpHints::setHint(followed, "Choose a folder.");
        HelpHints::setHint(always, "Always shown.", HelpHints::Always);
        window.resize(200, 100);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        options.setHelpSystem(false);
        QTest::mouseMove(followed, QPoint(5, 5));
        QTest::qWait(20);
        QVERIFY(!HelpHints::instance().showsHint(followed));
        QVERIFY(!HelpHints::instance().balloon() || !HelpHints::instance().balloon()->isVisible());

        QTest::mouseMove(always, QPoint(5, 5));
        QTRY_VERIFY(HelpHints::instance().balloon() && HelpHints::instance().balloon()->isVisible());
        QCOMPARE(HelpHints::instance().balloon()->text(), QStringLiteral("Always shown."));
        HelpHints::instance().hideHint();

        options.setHelpSystem(true); // takes effect at the next pointer move
        QTest::mouseMove(followed, QPoint(6, 6));
        QTRY_VERIFY(HelpHints::instance().balloon()->isVisible());
        QCOMPARE(HelpHints::instance().balloon()->text(), QStringLiteral("Choose a folder."));
        QVERIFY(HelpHints::instance().showsHint(followed));
        QCOMPARE(HelpHints::hintOf(followed), QStringLiteral("Choose a folder."));
        HelpHints::instance().hideHint();
        HelpHints::instance().setOptions(nullptr);
    }

    // The mouse goes on past a control as its balloon comes up: the balloon does not come up under the
    // mouse, and a click on it reaches what lies below.
    void aBalloonNeverTakesAClick()
    {
        QWidget window;
        auto *button = new QLabel("Grabber", &window);
        button->setGeometry(10, 10, 60, 20);
        auto *below = new QLabel("Quit", &window);
        below->setGeometry(10, 32, 60, 20);
        HelpHints::setHint(button, "Opens the frame grabber.", HelpHints::Always);
        window.resize(200, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint onBelow = below->mapToGlobal(QPoint(30, 5)); // where the balloon's body would be
        QCursor::setPos(onBelow);
        // The move that reached the button; the mouse is already further on when the balloon shows.
        QMouseEvent move(QEvent::MouseMove, QPointF(30, 10), button->mapToGlobal(QPointF(30, 10)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(button, &move);
        QTRY_VERIFY(HelpHints::instance().balloon() && HelpHints::instance().balloon()->isVisible());
        const BalloonHint *balloon = HelpHints::instance().balloon();
        QCOMPARE(QCursor::pos(), onBelow);
        QVERIFY2(!balloon->geometry().contains(onBelow), qPrintable(QStringLiteral("balloon at %1,%2 %3x%4")
                                                                        .arg(balloon->x())
                                                                        .arg(balloon->y())
                                                                        .arg(balloon->width())
                                                                        .arg(balloon->height())));
        QVERIFY(balloon->testAttribute(Qt::WA_TransparentForMouseEvents));
        QVERIFY(balloon->windowFlags() & Qt::WindowTransparentForInput);
        HelpHints::instance().hideHint();
    }
};

QTEST_MAIN(TestSkinAndHints)
#include "tst_SkinAndHints.moc"
