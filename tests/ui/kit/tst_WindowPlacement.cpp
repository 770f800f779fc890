// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/kit/WindowPlacement.h"

#include <QTest>

// Where a window opened from another goes: beside it without covering it, wherever the screen has room.
class TestWindowPlacement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void besideWithoutCovering_data()
    {
        QTest::addColumn<QRect>("anchor");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("expected");
        QTest::addColumn<bool>("room"); // false: nowhere to go without covering
        const QRect screen(0, 0, 1280, 1024);
        // a 449 x 355 window beside others
        QTest::newRow("room on the right") << QRect(100, 100, 620, 420) << screen << QPoint(724, 100) << true;
        QTest::newRow("right edge, room on the left")
            << QRect(600, 50, 620, 420) << screen << QPoint(147, 50) << true;
        QTest::newRow("no room at either side, below")
            << QRect(300, 0, 620, 420) << screen << QPoint(300, 424) << true;
        QTest::newRow("below, kept inside on the right")
            << QRect(452, 0, 440, 420) << QRect(0, 0, 900, 1024) << QPoint(451, 424) << true;
        QTest::newRow("low on the screen: top moved up to fit")
            << QRect(100, 800, 620, 200) << screen << QPoint(724, 669) << true;
        QTest::newRow("no room anywhere: the top-left corner")
            << QRect(100, 100, 620, 420) << QRect(0, 0, 800, 600) << QPoint(0, 0) << false;
        QTest::newRow("screen not at the origin, no room")
            << QRect(1380, 100, 620, 420) << QRect(1280, 50, 800, 600) << QPoint(1280, 50) << false;
        QTest::newRow("screen not at the origin")
            << QRect(1380, 100, 620, 420) << QRect(1280, 0, 1280, 1024) << QPoint(2004, 100) << true;
    }
    void besideWithoutCovering()
    {
        QFETCH(QRect, anchor);
        QFETCH(QRect, available);
        QFETCH(QPoint, expected);
        QFETCH(bool, room);
        const QSize size(449, 355);
        const QPoint at = WindowPlacement::besideWithoutCovering(size, anchor, available);
        QCOMPARE(at, expected);
        const QRect placed(at, size);
        QCOMPARE(!placed.intersects(anchor), room);
        QVERIFY(available.contains(placed));
        if (!room) // what it covers of the anchor is only the anchor's top-left part
            QCOMPARE(placed.intersected(anchor).topLeft(), anchor.topLeft());
    }
    // The main window centred on a 1280 x 1024 screen leaves no room at any side: the pick list covers
    // only the left end of its title band, none of its file list (x from 236) nor its buttons (y from
    // 250 on the window).
    void mainWindowKeepsItsListAndButtonsFree()
    {
        const QRect screen(0, 0, 1280, 1024);
        const QRect main(315, 297, 649, 430);
        const QRect placed(WindowPlacement::besideWithoutCovering({449, 355}, main, screen), QSize(449, 355));
        const QRect covered = placed.intersected(main).translated(-main.topLeft());
        QVERIFY(covered.right() < 236);
        QVERIFY(covered.bottom() < 250);
    }
};

QTEST_GUILESS_MAIN(TestWindowPlacement)
#include "tst_WindowPlacement.moc"
