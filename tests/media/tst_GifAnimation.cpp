// SPDX-License-Identifier: GPL-2.0-or-later
// GIF animations decoded frame by frame, from files written by the test: the order of the frames and
// how long each is held, the disposal methods, transparency, interlacing, loops, damage, and the
// canvas kept within the limit given whatever screen the file declares.
#include "media/GifAnimation.h"
#include "support/ViewerFixtures.h"

#include <QTest>

using ViewerFixtures::GifFrame;

namespace
{

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kWhite = qRgb(255, 255, 255);
const QList<QRgb> kColours{kRed, kGreen, kBlue, kWhite};

GifFrame frame(const QRect &rect, int index, int delay = 5, int disposal = 0, int transparent = -1)
{
    GifFrame f;
    f.rect = rect;
    f.indices = QByteArray(1, char(index));
    f.delay = delay;
    f.disposal = disposal;
    f.transparent = transparent;
    return f;
}

QRgb at(const GifAnimation &animation, int x, int y)
{
    return animation.canvas().pixel(x, y);
}

} // namespace

class tst_GifAnimation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void holdOfADelay_data()
    {
        QTest::addColumn<int>("hundredths");
        QTest::addColumn<int>("ms");
        QTest::newRow("none") << 0 << 100;
        QTest::newRow("10 ms") << 1 << 100;
        QTest::newRow("20 ms") << 2 << 20;
        QTest::newRow("half a second") << 50 << 500;
    }
    void holdOfADelay()
    {
        QFETCH(int, hundredths);
        QFETCH(int, ms);
        QCOMPARE(GifAnimation::holdMs(hundredths), ms);
    }

    void framesComeInOrderWithTheirDelays()
    {
        const QRect screen(0, 0, 4, 3);
        const QByteArray gif = ViewerFixtures::gifOf(
            screen.size(), kColours, {frame(screen, 0, 0), frame(screen, 1, 7), frame(screen, 2, 30)});
        GifAnimation animation;
        QString error;
        QVERIFY2(animation.open(gif, QSize(100, 100), &error), qPrintable(error));
        QCOMPARE(animation.screenSize(), QSize(4, 3));
        QCOMPARE(animation.canvasSize(), QSize(4, 3));
        const QList<QRgb> colours{kRed, kGreen, kBlue, kRed, kGreen};
        const QList<int> holds{100, 70, 300, 100, 70};
        for (int step = 0; step < 5; ++step) {
            QVERIFY2(animation.advance(&error), qPrintable(error));
            QCOMPARE(animation.frameIndex(), step % 3);
            QCOMPARE(animation.delayMs(), holds[step]);
            QCOMPARE(at(animation, 3, 2), colours[step]);
            QVERIFY(!animation.isFinished());
        }
        QCOMPARE(animation.frameCount(), 3);
    }

    // Frame 0 covers the screen in red; frame 1, a green square with the disposal method under test;
    // frame 2 a blue pixel in the corner. What the square leaves behind once frame 2 is drawn:
    void disposal_data()
    {
        QTest::addColumn<int>("disposal");
        QTest::addColumn<QRgb>("left");
        QTest::newRow("unspecified: kept") << 0 << kGreen;
        QTest::newRow("do not dispose: kept") << 1 << kGreen;
        QTest::newRow("to background: cleared") << 2 << QRgb(0);
        QTest::newRow("to previous: the red under it") << 3 << kRed;
    }
    void disposal()
    {
        QFETCH(int, disposal);
        QFETCH(QRgb, left);
        const QByteArray gif = ViewerFixtures::gifOf(
            {4, 4}, kColours,
            {frame({0, 0, 4, 4}, 0, 5, 1), frame({1, 1, 2, 2}, 1, 5, disposal), frame({0, 0, 1, 1}, 2)});
        GifAnimation animation;
        QString error;
        QVERIFY(animation.open(gif, QSize(64, 64), &error));
        QVERIFY(animation.advance(&error) && animation.advance(&error));
        QCOMPARE(at(animation, 1, 1), kGreen);
        QCOMPARE(at(animation, 2, 2), kGreen);
        QVERIFY(animation.advance(&error));
        QCOMPARE(at(animation, 1, 1), left);
        QCOMPARE(at(animation, 2, 2), left);
        QCOMPARE(at(animation, 0, 0), kBlue);
        QCOMPARE(at(animation, 3, 3), kRed);
        QCOMPARE(at(animation, 3, 0), kRed);
    }

    // The transparent index leaves what is under it: the window behind on the first frame, the frame
    // before on the next. A frame reaching past the screen is cut at its edge.
    void transparency()
    {
        GifFrame first = frame({0, 0, 4, 2}, 0, 5, 0, 3);
        first.indices = QByteArray::fromHex("03000000"
                                            "00000000");
        GifFrame second = frame({2, 0, 4, 2}, 1, 5, 0, 3);
        second.indices = QByteArray::fromHex("03010101"
                                             "01030303");
        const QByteArray gif = ViewerFixtures::gifOf({4, 2}, kColours, {first, second});
        GifAnimation animation;
        QString error;
        QVERIFY(animation.open(gif, QSize(64, 64), &error));
        QVERIFY(animation.advance(&error));
        QCOMPARE(qAlpha(at(animation, 0, 0)), 0);
        QCOMPARE(at(animation, 1, 0), kRed);
        QVERIFY2(animation.advance(&error), qPrintable(error));
        QCOMPARE(qAlpha(at(animation, 0, 0)), 0);
        QCOMPARE(at(animation, 2, 0), kRed); // transparent in frame 1
        QCOMPARE(at(animation, 3, 0), kGreen);
        QCOMPARE(at(animation, 2, 1), kGreen);
        QCOMPARE(at(animation, 3, 1), kRed); // transparent in frame 1
    }

    void interlacedRowsLandInPlace()
    {
        GifFrame f = frame({0, 0, 1, 11}, 0);
        f.interlaced = true;
        f.indices.clear();
        for (int y = 0; y < 11; ++y)
            f.indices.append(char(y % 4));
        const QByteArray gif = ViewerFixtures::gifOf({1, 11}, kColours, {f}, -1);
        GifAnimation animation;
        QString error;
        QVERIFY(animation.open(gif, QSize(64, 64), &error));
        QVERIFY2(animation.advance(&error), qPrintable(error));
        for (int y = 0; y < 11; ++y)
            QCOMPARE(at(animation, 0, y), kColours[y % 4]);
    }

    // A screen larger than the limit is composed scaled down, its proportions kept.
    void canvasScaledDownToTheLimit_data()
    {
        QTest::addColumn<QSize>("limit");
        QTest::addColumn<QSize>("canvas");
        QTest::newRow("half") << QSize(4, 4) << QSize(4, 4);
        QTest::newRow("narrow limit") << QSize(2, 100) << QSize(2, 2);
        QTest::newRow("roomy") << QSize(100, 9) << QSize(8, 8);
    }
    void canvasScaledDownToTheLimit()
    {
        QFETCH(QSize, limit);
        QFETCH(QSize, canvas);
        GifFrame quarters = frame({0, 0, 8, 8}, 0);
        quarters.indices.clear();
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                quarters.indices.append(char((y >= 4) * 2 + (x >= 4)));
        const QByteArray gif = ViewerFixtures::gifOf({8, 8}, kColours, {quarters});
        GifAnimation animation;
        QString error;
        QVERIFY(animation.open(gif, limit, &error));
        QVERIFY(animation.advance(&error));
        QCOMPARE(animation.canvasSize(), canvas);
        const int w = canvas.width() - 1;
        const int h = canvas.height() - 1;
        QCOMPARE(at(animation, 0, 0), kRed);
        QCOMPARE(at(animation, w, 0), kGreen);
        QCOMPARE(at(animation, 0, h), kBlue);
        QCOMPARE(at(animation, w, h), kWhite);
    }

    // 1,000 one-pixel frames on a 5000x5000 screen, a file of some 20 KB: what is held stays within
    // a screenful of the limit through a whole loop, not the 100 MB of the declared screen.
    void hugeScreenOfTinyFramesCostsTheLimit()
    {
        QList<GifFrame> frames;
        for (int i = 0; i < 1000; ++i)
            frames << frame({(i * 37) % 5000, (i * 53) % 5000, 1, 1}, i % 4, 0, 1);
        const QByteArray gif = ViewerFixtures::gifOf({5000, 5000}, kColours, frames);
        QVERIFY2(gif.size() < 32 * 1024, qPrintable(QString::number(gif.size())));
        const QSize limit(1280, 1024);
        GifAnimation animation;
        QString error;
        QVERIFY(animation.open(gif, limit, &error));
        QCOMPARE(animation.screenSize(), QSize(5000, 5000));
        QCOMPARE(animation.canvasSize(), QSize(1024, 1024));
        const qint64 screenful = qint64(limit.width()) * limit.height() * 4;
        qint64 most = 0;
        for (int step = 0; step < 1001; ++step) {
            QVERIFY2(animation.advance(&error), qPrintable(error));
            most = qMax(most, animation.heldBytes());
        }
        QCOMPARE(animation.frameIndex(), 0); // round again
        QVERIFY2(most <= screenful + 256 * 1024, qPrintable(QString::number(most)));
    }

    void loops_data()
    {
        QTest::addColumn<int>("loops");
        QTest::addColumn<int>("passes");
        QTest::newRow("no loop block: once") << -1 << 1;
        QTest::newRow("repeated once: twice") << 1 << 2;
        QTest::newRow("repeated twice: three times") << 2 << 3;
    }
    void loops()
    {
        QFETCH(int, loops);
        QFETCH(int, passes);
        const QRect screen(0, 0, 2, 2);
        const QByteArray gif =
            ViewerFixtures::gifOf(screen.size(), kColours, {frame(screen, 0), frame(screen, 1)}, loops);
        GifAnimation animation;
        QString error;
        QVERIFY(animation.open(gif, QSize(64, 64), &error));
        for (int step = 0; step < 2 * passes; ++step) {
            QVERIFY(!animation.isFinished());
            QVERIFY(animation.advance(&error));
        }
        QVERIFY(animation.advance(&error));
        QVERIFY(animation.isFinished());
        QCOMPARE(animation.frameIndex(), 1); // the last frame stays
        QCOMPARE(at(animation, 1, 1), kGreen);
    }

    void damageFurtherOnIsAFailure()
    {
        const QRect screen(0, 0, 40, 40);
        GifFrame noisy = frame(screen, 0);
        noisy.indices.clear();
        for (int i = 0; i < 1600; ++i)
            noisy.indices.append(char((i * 7 + i / 40) % 4));
        const QByteArray gif = ViewerFixtures::gifOf(screen.size(), kColours, {frame(screen, 1), noisy});
        GifAnimation animation;
        QString error;
        QVERIFY(animation.open(gif.left(gif.size() - 60), QSize(64, 64), &error));
        QVERIFY(animation.advance(&error));
        QCOMPARE(at(animation, 5, 5), kGreen);
        QVERIFY(!animation.advance(&error));
        QVERIFY(!error.isEmpty());
    }

    void cancelledMidFrame()
    {
        const QRect screen(0, 0, 300, 300);
        const QByteArray gif = ViewerFixtures::gifOf(screen.size(), kColours, {frame(screen, 1)});
        GifAnimation animation;
        QString error;
        QVERIFY(animation.open(gif, QSize(64, 64), &error));
        const std::atomic_bool cancel{true};
        QVERIFY(!animation.advance(&error, &cancel));
        QCOMPARE(error, QStringLiteral("cancelled"));
    }

    void notAGif()
    {
        GifAnimation animation;
        QString error;
        QVERIFY(!animation.open(QByteArray("GIF89a\x00", 7), QSize(64, 64), &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_GifAnimation)
#include "tst_GifAnimation.moc"
