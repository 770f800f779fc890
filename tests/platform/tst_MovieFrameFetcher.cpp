// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/MovieFrameFetcher.h"
#include "support/MovieFixtures.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// The grabber on its own thread: answers come as signals, and a newer request supersedes older ones.
class TestMovieFrameFetcher : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_fixtureFailure;

public:
    TestMovieFrameFetcher()
    {
        // Made before the test functions start: a ten-minute movie takes ffmpeg long on a busy machine.
        m_fixtureFailure =
            MovieFixtures::make(m_dir.path(), {"walk.mpg:mpeg1:320x240", "long.mpg:mpeg1:256x48:600s"});
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY2(m_fixtureFailure.isEmpty(), qPrintable(m_fixtureFailure));
    }

    void opensAndAnswersTheLatestRequest()
    {
        MovieFrameFetcher fetcher;
        QSignalSpy opened(&fetcher, &MovieFrameFetcher::opened);
        QSignalSpy fetched(&fetcher, &MovieFrameFetcher::fetched);
        const quint64 open = fetcher.open(m_dir.filePath("walk.mpg"));
        QVERIFY(opened.isEmpty()); // the caller's thread does not wait for the decoder
        QSignalSpy counted(&fetcher, &MovieFrameFetcher::counted);
        QTRY_COMPARE_WITH_TIMEOUT(opened.size(), 1, 30'000);
        QCOMPARE(opened.at(0).at(0).toULongLong(), open);
        const auto facts = opened.at(0).at(1).value<MovieFacts>();
        QCOMPARE(facts.frameSize, QSize(320, 240));
        // Then the frames are counted.
        QTRY_COMPARE_WITH_TIMEOUT(counted.size(), 1, 30'000);
        QCOMPARE(counted.at(0).at(0).toULongLong(), open);
        QCOMPARE(counted.at(0).at(1).toLongLong(), MovieFixtures::FrameCount);
        QCOMPARE(counted.at(0).at(2).toString(), QString());
        QCOMPARE(MovieFixtures::frameNumberIn(opened.at(0).at(2).value<QImage>()), 0);

        // Ten presses of the right arrow, and a jump: only the last request's frame matters.
        quint64 last = 0;
        for (int n = 1; n <= 10; ++n)
            last = fetcher.fetch(n);
        last = fetcher.fetch(70);
        QTRY_VERIFY_WITH_TIMEOUT(!fetched.isEmpty() && fetched.last().at(0).toULongLong() == last, 30'000);
        QCOMPARE(fetched.last().at(1).toLongLong(), 70);
        QCOMPARE(MovieFixtures::frameNumberIn(fetched.last().at(2).value<QImage>()), 70);
        // Every answer that came is the frame it names; a superseded one never comes after the last.
        for (const QList<QVariant> &answer : fetched)
            QCOMPARE(MovieFixtures::frameNumberIn(answer.at(2).value<QImage>()), answer.at(1).toLongLong());
        QTest::qWait(100);
        QCOMPARE(fetched.last().at(0).toULongLong(), last);
    }

    // Open answers with the first frame before the frames are counted; a jump asked for meanwhile is
    // answered first (the count waits for it), with the right frame; the count is then exact, and a
    // jump from the index lands on its frame too.
    void opensBeforeCountingAndAnswersMeanwhile()
    {
        MovieFrameFetcher fetcher;
        QSignalSpy opened(&fetcher, &MovieFrameFetcher::opened);
        QSignalSpy fetched(&fetcher, &MovieFrameFetcher::fetched);
        QSignalSpy counted(&fetcher, &MovieFrameFetcher::counted);
        std::atomic<quint64> jump = 0;
        // On the fetcher's thread, as the open is answered: the count has not begun yet.
        connect(
            &fetcher, &MovieFrameFetcher::opened, this,
            [&fetcher, &jump](quint64, const MovieFacts &, const QImage &, const QString &) {
                jump = fetcher.fetch(14'990);
            },
            Qt::DirectConnection);
        const quint64 open = fetcher.open(m_dir.filePath("long.mpg"));
        QTRY_COMPARE_WITH_TIMEOUT(opened.size(), 1, 30'000);
        QCOMPARE(
            MovieFixtures::frameNumberIn(opened.at(0).at(2).value<QImage>(), 0, 0, MovieFixtures::LongBits),
            0);
        QVERIFY(opened.at(0).at(1).value<MovieFacts>().frameCount > 0);
        QTRY_COMPARE_WITH_TIMEOUT(fetched.size(), 1, 30'000);
        QVERIFY(counted.isEmpty());
        QCOMPARE(fetched.at(0).at(0).toULongLong(), jump.load());
        QCOMPARE(fetched.at(0).at(3).toString(), QString());
        QCOMPARE(
            MovieFixtures::frameNumberIn(fetched.at(0).at(2).value<QImage>(), 0, 0, MovieFixtures::LongBits),
            14'990);

        QTRY_COMPARE_WITH_TIMEOUT(counted.size(), 1, 120'000);
        QCOMPARE(counted.at(0).at(0).toULongLong(), open);
        QCOMPARE(counted.at(0).at(1).toLongLong(), 600 * 25);
        for (qint64 n : {14'995, 8'000, 7'999}) {
            const quint64 request = fetcher.fetch(n);
            QTRY_VERIFY_WITH_TIMEOUT(fetched.last().at(0).toULongLong() == request, 30'000);
            QCOMPARE(MovieFixtures::frameNumberIn(fetched.last().at(2).value<QImage>(), 0, 0,
                                                  MovieFixtures::LongBits),
                     n);
        }
    }

    void reportsWhatIsNoMovie()
    {
        MovieFrameFetcher fetcher;
        QSignalSpy opened(&fetcher, &MovieFrameFetcher::opened);
        fetcher.open(m_dir.filePath("none.mpg"));
        QTRY_COMPARE_WITH_TIMEOUT(opened.size(), 1, 30'000);
        QVERIFY(opened.at(0).at(2).value<QImage>().isNull());
        QVERIFY(!opened.at(0).at(3).toString().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMovieFrameFetcher)
#include "tst_MovieFrameFetcher.moc"
