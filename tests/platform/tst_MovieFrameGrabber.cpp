// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/MovieFrameGrabber.h"
#include "support/MovieFixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The decode-forward grabber hands over exactly the frame asked for, for key-frame-only and
// predicted codecs alike, and says why when a file is not a movie.
class TestMovieFrameGrabber : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_fixtureFailure;

    // The frames of a movie, counted and indexed as the fetcher's second pipeline does.
    static MovieFrameIndex indexOf(const QString &path)
    {
        QString error;
        const MovieFrameIndex index = MovieFrameIndex::build(
            path, [] { return false; }, [] { return false; }, &error);
        if (index.isEmpty())
            qWarning("%s: %s", qPrintable(path), qPrintable(error));
        return index;
    }

public:
    TestMovieFrameGrabber()
    {
        // Made before the test functions start: ten-minute movies take ffmpeg long on a busy machine.
        m_fixtureFailure = MovieFixtures::make(
            m_dir.path(), {"mjpeg.avi:mjpeg:320x240", "mpeg4.avi:mpeg4:160x120", "mpeg1.mpg:mpeg1:320x240",
                           "big.mpg:mpeg1:640x480", "tiny.mpg:mpeg1:160x120", "bframes.mpg:mpeg2:320x240",
                           "long.mpg:mpeg1:256x48:600s", "long.avi:mjpeg:256x48:600s"});
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY2(m_fixtureFailure.isEmpty(), qPrintable(m_fixtureFailure));
    }

    void framesByNumber_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("indexed");
        // tiny.mpg packs several frames into one packet of the stream: most carry no time stamp.
        // bframes.mpg is MPEG-2 with B pictures: its frames are decoded out of order, and a key
        // frame's group shows pictures decoded after it first.
        for (const char *file :
             {"mjpeg.avi", "mpeg4.avi", "mpeg1.mpg", "big.mpg", "tiny.mpg", "bframes.mpg"}) {
            const QString name = QString::fromLatin1(file);
            const QSize size = name.startsWith("mpeg4") || name.startsWith("tiny") ? QSize(160, 120)
                               : name.startsWith("big")                            ? QSize(640, 480)
                                                                                   : QSize(320, 240);
            // Before the frames are counted, and from the key frames of the index after.
            QTest::addRow("%s counting", file) << name << size << false;
            QTest::addRow("%s indexed", file) << name << size << true;
        }
    }
    void framesByNumber()
    {
        QFETCH(QString, file);
        QFETCH(QSize, size);
        QFETCH(bool, indexed);
        MovieFrameGrabber grabber;
        QString error;
        QVERIFY2(grabber.open(m_dir.filePath(file), &error), qPrintable(error));
        QCOMPARE(grabber.frameSize(), size);
        QCOMPARE(grabber.framesPerSecond(), 25.0);
        QVERIFY(grabber.frameCount() > 0); // the duration's estimate
        if (indexed) {
            const MovieFrameIndex index = indexOf(m_dir.filePath(file));
            QCOMPARE(index.frameCount, MovieFixtures::FrameCount);
            // The decoder makes up times out of order around the groups of the MPEG-2 stream
            // with B pictures: no key frame is trusted there, and frames are decoded from the start.
            QCOMPARE(index.keyFrames.isEmpty(), file == QLatin1String("bframes.mpg"));
            if (!index.keyFrames.isEmpty())
                QCOMPARE(index.keyFrames.first().number, 0);
            grabber.setIndex(index);
            QCOMPARE(grabber.frameCount(), MovieFixtures::FrameCount);
        }
        // Out of order on purpose: backward seeks and jumps past several key frames, then steps
        // forward and back as the arrow keys make them.
        for (int n : {37, 0, 1, 74, 13, 12, 50, 49, 2, 73, 25, 69, 70, 71, 72, 71, 70}) {
            const QImage frame = grabber.frameAt(n, &error);
            QVERIFY2(!frame.isNull(), qPrintable(QStringLiteral("frame %1: %2").arg(n).arg(error)));
            // Only the corner that is ever shown or saved is kept.
            QCOMPARE(frame.size(), size.boundedTo(QSize(326, 246)));
            QCOMPARE(MovieFixtures::frameNumberIn(frame), n);
        }
    }

    // A ten-minute movie is counted exactly, its key frames indexed, and a jump anywhere lands on
    // the frame asked for, decoded from the nearest key frame; so do the steps either side of it.
    // In the tiny MPEG-1 stream most frames share a packet, and only a packet's first frame has a
    // time stamp of its own, not always in order: its index holds few key frames or none, and a jump
    // decodes from the nearest of them or from the start, exact but slow. In the AVI every frame is
    // a key frame with its time stamp.
    void jumpsInALongMovie_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<qint64>("keyFrameEvery");
        QTest::addColumn<bool>("everyKeyFrame");
        QTest::newRow("MPEG-1 program stream") << "long.mpg" << qint64(12) << false;
        QTest::newRow("MJPEG AVI") << "long.avi" << qint64(1) << true;
    }
    void jumpsInALongMovie()
    {
        QFETCH(QString, file);
        QFETCH(qint64, keyFrameEvery);
        QFETCH(bool, everyKeyFrame);
        const qint64 frames = 600 * 25;
        const MovieFrameIndex index = indexOf(m_dir.filePath(file));
        QCOMPARE(index.frameCount, frames);
        if (everyKeyFrame)
            QCOMPARE(index.keyFrames.size(), frames / keyFrameEvery);
        for (const MovieFrameIndex::KeyFrame &key : index.keyFrames)
            QCOMPARE(key.number % keyFrameEvery, 0);
        MovieFrameGrabber grabber;
        grabber.setKeepRecentFrames(true);
        QString error;
        QVERIFY2(grabber.open(m_dir.filePath(file), &error), qPrintable(error));
        grabber.setIndex(index);
        QCOMPARE(grabber.frameCount(), frames);
        for (qint64 n : {14990, 14991, 14989, 14999, 7205, 7204, 7203, 7212, 7211, 13, 1, 0, 9000, 14998}) {
            const QImage frame = grabber.frameAt(n, &error);
            QVERIFY2(!frame.isNull(), qPrintable(error));
            QCOMPARE(MovieFixtures::frameNumberIn(frame, 0, 0, MovieFixtures::LongBits), n);
        }
        // Beyond the end: the last frame.
        QCOMPARE(MovieFixtures::frameNumberIn(grabber.frameAt(20000, &error), 0, 0, MovieFixtures::LongBits),
                 frames - 1);
    }

    // A newer request ends the decoding under way at its next frame, and the grabber still hands
    // over exact frames afterwards.
    void supersededRequestEndsEarly()
    {
        MovieFrameGrabber grabber;
        QString error;
        QVERIFY2(grabber.open(m_dir.filePath("big.mpg"), &error), qPrintable(error));
        int asked = 0;
        grabber.setSuperseded([&asked] { return ++asked > 3; });
        QVERIFY(grabber.frameAt(60, &error).isNull());
        QVERIFY(!error.isEmpty());
        QCOMPARE(asked, 4); // given up at once, not after decoding on to frame 60
        grabber.setSuperseded({});
        for (int n : {60, 61, 59}) {
            const QImage frame = grabber.frameAt(n, &error);
            QVERIFY2(!frame.isNull(), qPrintable(error));
            QCOMPARE(MovieFixtures::frameNumberIn(frame), n);
        }
    }

    void refusesWhatIsNoMovie_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("garbage") << QByteArray("RIFF\x10\0\0\0AVI LIST not really a movie", 32);
        QTest::newRow("empty") << QByteArray();
    }
    void refusesWhatIsNoMovie()
    {
        QFETCH(QByteArray, content);
        const QString path = m_dir.filePath(QStringLiteral("bad.avi"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        MovieFrameGrabber grabber;
        QString error;
        QVERIFY(!grabber.open(path, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!grabber.isOpen());
        QVERIFY(grabber.frameAt(3, &error).isNull());
    }

    void refusesMissingFile()
    {
        MovieFrameGrabber grabber;
        QString error;
        QVERIFY(!grabber.open(m_dir.filePath(QStringLiteral("none.avi")), &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMovieFrameGrabber)
#include "tst_MovieFrameGrabber.moc"
