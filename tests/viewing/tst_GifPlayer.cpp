// SPDX-License-Identifier: GPL-2.0-or-later
// The viewer's GIF player over files written by the test: the first frame at once, the others in
// order from its decoding thread, a pause that holds the frame shown, the end of the loops, and a
// player deleted while a frame is being decoded.
#include "support/ViewerFixtures.h"
#include "viewing/GifPlayer.h"

#include <QSignalSpy>
#include <QTest>

using ViewerFixtures::GifFrame;

namespace
{

const QList<QRgb> kColours{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)};

// A GIF of `frames` frames covering the screen, frame i in colour i % 4, each held 20 ms.
QByteArray coloured(int frames, int loops, const QSize &screen = QSize(4, 4))
{
    QList<GifFrame> list;
    for (int i = 0; i < frames; ++i) {
        GifFrame frame;
        frame.rect = QRect(QPoint(0, 0), screen);
        frame.indices = QByteArray(1, char(i % 4));
        frame.delay = 2;
        list << frame;
    }
    return ViewerFixtures::gifOf(screen, kColours, list, loops);
}

} // namespace

class tst_GifPlayer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void framesFollowInOrder()
    {
        GifPlayer player;
        QSignalSpy frames(&player, &GifPlayer::frameChanged);
        QString error;
        QVERIFY2(player.start(coloured(3, 0), QSize(100, 100), true, &error), qPrintable(error));
        QCOMPARE(player.currentFrameIndex(), 0);
        QCOMPARE(player.currentFrame().pixel(1, 1), kColours[0]);
        QCOMPARE(player.currentHoldMs(), 20);
        QVERIFY(player.isRunning());
        QTRY_VERIFY_WITH_TIMEOUT(frames.size() >= 4, 10000);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(frames[i][0].value<QImage>().pixel(1, 1), kColours[(i + 1) % 3]);
    }

    void aStillPictureIsNotAnimated()
    {
        GifPlayer player;
        QString error;
        QVERIFY(player.start(coloured(2, 0), QSize(100, 100), false, &error));
        QVERIFY(!player.isRunning());
        QSignalSpy frames(&player, &GifPlayer::frameChanged);
        QVERIFY(!frames.wait(300));
    }

    void pausedItHoldsItsFrame()
    {
        GifPlayer player;
        QSignalSpy frames(&player, &GifPlayer::frameChanged);
        QString error;
        QVERIFY(player.start(coloured(3, 0), QSize(100, 100), true, &error));
        player.setPaused(true);
        QVERIFY(!player.isRunning());
        QVERIFY(!frames.wait(300));
        QCOMPARE(player.currentFrameIndex(), 0);
        player.setPaused(false);
        QVERIFY(player.isRunning());
        QTRY_VERIFY_WITH_TIMEOUT(!frames.isEmpty(), 10000);
    }

    // Played once through, the last frame stays and the player stops.
    void stopsWhenItsLoopsAreSpent()
    {
        GifPlayer player;
        QSignalSpy frames(&player, &GifPlayer::frameChanged);
        QString error;
        QVERIFY(player.start(coloured(3, -1), QSize(100, 100), true, &error));
        QTRY_VERIFY_WITH_TIMEOUT(!player.isRunning(), 10000);
        QCOMPARE(frames.size(), 2);
        QCOMPARE(player.currentFrameIndex(), 2);
        QCOMPARE(player.currentFrame().pixel(0, 0), kColours[2]);
    }

    void damagedFirstFrameFails()
    {
        const QByteArray gif = coloured(1, -1, QSize(64, 64));
        GifPlayer player;
        QString error;
        QVERIFY(!player.start(gif.left(gif.size() - 8), QSize(100, 100), true, &error));
        QVERIFY(!error.isEmpty());
    }

    // Deleted while its thread decodes large frames: nothing arrives afterwards and nothing breaks.
    void deletedWhileDecoding()
    {
        const QByteArray gif = coloured(4, 0, QSize(2000, 2000));
        int shown = 0;
        for (int round = 0; round < 5; ++round) {
            auto *player = new GifPlayer;
            connect(player, &GifPlayer::frameChanged, this, [&shown] { ++shown; });
            QString error;
            QVERIFY(player->start(gif, QSize(2000, 2000), true, &error));
            delete player;
        }
        QTest::qWait(200);
        QCOMPARE(shown, 0);
    }
};

QTEST_GUILESS_MAIN(tst_GifPlayer)
#include "tst_GifPlayer.moc"
