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

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString failure = MovieFixtures::make(m_dir.path(), {"walk.mpg:mpeg1:320x240"});
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }

    void opensAndAnswersTheLatestRequest()
    {
        MovieFrameFetcher fetcher;
        QSignalSpy opened(&fetcher, &MovieFrameFetcher::opened);
        QSignalSpy fetched(&fetcher, &MovieFrameFetcher::fetched);
        const quint64 open = fetcher.open(m_dir.filePath("walk.mpg"));
        QVERIFY(opened.isEmpty()); // the caller's thread does not wait for the decoder
        QTRY_COMPARE_WITH_TIMEOUT(opened.size(), 1, 30'000);
        QCOMPARE(opened.at(0).at(0).toULongLong(), open);
        const auto facts = opened.at(0).at(1).value<MovieFacts>();
        QCOMPARE(facts.frameCount, MovieFixtures::FrameCount);
        QCOMPARE(facts.frameSize, QSize(320, 240));
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
