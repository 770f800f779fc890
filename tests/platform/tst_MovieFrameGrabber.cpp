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

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString failure = MovieFixtures::make(
            m_dir.path(), {"mjpeg.avi:mjpeg:320x240", "mpeg4.avi:mpeg4:160x120", "mpeg1.mpg:mpeg1:320x240",
                           "big.mpg:mpeg1:640x480", "tiny.mpg:mpeg1:160x120"});
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }

    void framesByNumber_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        // tiny.mpg packs several frames into one packet of the stream: most carry no time stamp.
        for (const char *file : {"mjpeg.avi", "mpeg4.avi", "mpeg1.mpg", "big.mpg", "tiny.mpg"}) {
            const QString name = QString::fromLatin1(file);
            const QSize size = name.startsWith("mpeg4") || name.startsWith("tiny") ? QSize(160, 120)
                               : name.startsWith("big")                            ? QSize(640, 480)
                                                                                   : QSize(320, 240);
            QTest::newRow(file) << name << size;
        }
    }
    void framesByNumber()
    {
        QFETCH(QString, file);
        QFETCH(QSize, size);
        MovieFrameGrabber grabber;
        QString error;
        QVERIFY2(grabber.open(m_dir.filePath(file), &error), qPrintable(error));
        QCOMPARE(grabber.frameSize(), size);
        QCOMPARE(grabber.framesPerSecond(), 25.0);
        QCOMPARE(grabber.frameCount(), MovieFixtures::FrameCount);
        // Out of order on purpose: backward seeks and jumps past several key frames, then steps
        // forward and back as the arrow keys make them.
        for (int n : {37, 0, 1, 74, 13, 12, 50, 49, 2, 73, 25, 69, 70, 71, 72, 71, 70}) {
            const QImage frame = grabber.frameAt(n, &error);
            QVERIFY2(!frame.isNull(), qPrintable(error));
            // Only the corner that is ever shown or saved is kept.
            QCOMPARE(frame.size(), size.boundedTo(QSize(326, 246)));
            QCOMPARE(MovieFixtures::frameNumberIn(frame), n);
        }
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
