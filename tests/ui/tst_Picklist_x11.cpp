// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/Picklist.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>

// On a real X server the skin's yellow is cut out of the window: what shows there is the desktop.
class TestPicklistX11 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void yellowIsCutOutOnScreen()
    {
        TPickListForm form;
        form.move(100, 100);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::qWait(200); // let the server draw the window
        const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        const QImage skin = form.grab().toImage(); // ignores the mask: the yellow is there
        QCOMPARE(skin.pixelColor(0, 0), QColor(255, 255, 0));
        const QPoint origin = form.geometry().topLeft();
        QVERIFY(screen.pixelColor(origin) != QColor(255, 255, 0));
        QVERIFY(screen.pixelColor(origin + QPoint(448, 354)) != QColor(255, 255, 0));
        const QPoint body(20, 200);
        QCOMPARE(screen.pixelColor(origin + body), skin.pixelColor(body));
    }
};

QTEST_MAIN(TestPicklistX11)
#include "tst_Picklist_x11.moc"
