// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/MovieFrameFetcher.h"

#include "platform/MovieFrameGrabber.h"
#include "platform/MovieFrameIndex.h"

#include <QThread>

// Lives on the counting thread: counts a movie's frames and indexes its key frames on a pipeline of
// its own, waiting while the grabber decodes a frame for a request.
class MovieFrameCounterWorker final : public QObject
{
    Q_OBJECT

public:
    MovieFrameCounterWorker(std::shared_ptr<std::atomic<quint64>> movie,
                            std::shared_ptr<std::atomic<bool>> busy)
        : m_movie(std::move(movie)), m_busy(std::move(busy))
    {
    }

    void count(quint64 open, const QString &path)
    {
        const auto stopped = [movie = m_movie, open] { return movie->load() != open; };
        if (stopped())
            return;
        QString error;
        MovieFrameIndex index = MovieFrameIndex::build(
            path, stopped, [busy = m_busy] { return busy->load(); }, &error);
        if (!stopped())
            Q_EMIT counted(open, index, error);
    }

Q_SIGNALS:
    void counted(quint64 open, const MovieFrameIndex &index, const QString &error);

private:
    std::shared_ptr<std::atomic<quint64>> m_movie;
    std::shared_ptr<std::atomic<bool>> m_busy;
};

// Lives on the fetcher's thread and owns the grabber there.
class MovieFrameFetcherWorker final : public QObject
{
    Q_OBJECT

public:
    MovieFrameFetcherWorker(std::shared_ptr<std::atomic<quint64>> latest,
                            std::shared_ptr<std::atomic<quint64>> movie,
                            std::shared_ptr<std::atomic<bool>> busy)
        : m_latest(std::move(latest)), m_movie(std::move(movie)), m_busy(std::move(busy))
    {
        m_grabber.setKeepRecentFrames(true);
    }

    void open(quint64 request, const QString &path)
    {
        if (!takeUp(request))
            return;
        const Busy busy(*m_busy);
        QString error;
        MovieFacts facts;
        QImage first;
        if (m_grabber.open(path, &error)) {
            facts = {m_grabber.framesPerSecond(), m_grabber.frameSize(), m_grabber.frameCount(),
                     m_grabber.firstFrameTime()};
            first = m_grabber.frameAt(0, &error);
        }
        Q_EMIT opened(request, facts, first, first.isNull() ? error : QString());
        if (!first.isNull())
            Q_EMIT countWanted(request, path);
    }

    void fetch(quint64 request, qint64 frame)
    {
        if (!takeUp(request))
            return; // a newer request waits behind this one
        const Busy busy(*m_busy);
        QString error;
        const QImage image = m_grabber.frameAt(frame, &error);
        if (m_latest->load() == request)
            Q_EMIT fetched(request, frame, image, image.isNull() ? error : QString());
    }

    void indexed(quint64 open, const MovieFrameIndex &index, const QString &error)
    {
        if (m_movie->load() != open)
            return; // another movie opened meanwhile
        m_grabber.setIndex(index);
        Q_EMIT counted(open, m_grabber.frameCount(), error);
    }

    void close() { m_grabber.close(); }

Q_SIGNALS:
    void opened(quint64 request, const MovieFacts &facts, const QImage &frame, const QString &error);
    void fetched(quint64 request, qint64 number, const QImage &frame, const QString &error);
    void countWanted(quint64 open, const QString &path);
    void counted(quint64 open, qint64 frameCount, const QString &error);

private:
    // Marks the grabber busy for its lifetime: the count waits meanwhile.
    struct Busy {
        explicit Busy(std::atomic<bool> &flag) : flag(flag) { flag = true; }
        ~Busy() { flag = false; }
        std::atomic<bool> &flag;
    };

    bool takeUp(quint64 request)
    {
        if (m_latest->load() != request)
            return false;
        m_grabber.setSuperseded([latest = m_latest, request] { return latest->load() != request; });
        return true;
    }

    std::shared_ptr<std::atomic<quint64>> m_latest;
    std::shared_ptr<std::atomic<quint64>> m_movie;
    std::shared_ptr<std::atomic<bool>> m_busy;
    MovieFrameGrabber m_grabber;
};

MovieFrameFetcher::MovieFrameFetcher(QObject *parent)
    : QObject(parent), m_latest(std::make_shared<std::atomic<quint64>>(0)),
      m_movie(std::make_shared<std::atomic<quint64>>(0)), m_thread(new QThread), m_countThread(new QThread)
{
    qRegisterMetaType<MovieFacts>();
    qRegisterMetaType<MovieFrameIndex>();
    const auto busy = std::make_shared<std::atomic<bool>>(false);
    m_worker = new MovieFrameFetcherWorker(m_latest, m_movie, busy);
    m_counter = new MovieFrameCounterWorker(m_movie, busy);
    m_thread->setObjectName(QStringLiteral("MovieFrameFetcher"));
    m_countThread->setObjectName(QStringLiteral("MovieFrameCounter"));
    m_worker->moveToThread(m_thread);
    m_counter->moveToThread(m_countThread);
    connect(m_worker, &MovieFrameFetcherWorker::opened, this, &MovieFrameFetcher::opened);
    connect(m_worker, &MovieFrameFetcherWorker::fetched, this, &MovieFrameFetcher::fetched);
    connect(m_worker, &MovieFrameFetcherWorker::counted, this, &MovieFrameFetcher::counted);
    connect(m_worker, &MovieFrameFetcherWorker::countWanted, m_counter, &MovieFrameCounterWorker::count);
    connect(m_counter, &MovieFrameCounterWorker::counted, m_worker, &MovieFrameFetcherWorker::indexed);
    // Each worker goes with its thread, whenever that ends.
    connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_countThread, &QThread::finished, m_counter, &QObject::deleteLater);
    m_thread->start();
    m_countThread->start();
}

MovieFrameFetcher::~MovieFrameFetcher()
{
    next();       // ends the decoding under way at its next frame
    *m_movie = 0; // and the count
    disconnect(m_worker, nullptr, this, nullptr);
    disconnect(m_worker, nullptr, m_counter, nullptr);
    disconnect(m_counter, nullptr, m_worker, nullptr);
    m_thread->quit();
    m_countThread->quit();
    // Every wait on the threads is bounded by the grabber's own; a thread still busy after them is
    // stuck in GStreamer, and is left behind rather than holding up the program's end.
    for (QThread *thread : {m_thread, m_countThread}) {
        if (thread->wait(30'000)) {
            delete thread; // the worker went with it
        } else {
            connect(thread, &QThread::finished, thread, &QObject::deleteLater);
            qWarning("The movie frame fetcher did not stop; its thread is left behind.");
        }
    }
}

quint64 MovieFrameFetcher::next()
{
    return ++*m_latest;
}

quint64 MovieFrameFetcher::open(const QString &path)
{
    const quint64 request = next();
    *m_movie = request; // a count under way is of another movie
    QMetaObject::invokeMethod(m_worker, [worker = m_worker, request, path] { worker->open(request, path); });
    return request;
}

quint64 MovieFrameFetcher::fetch(qint64 frame)
{
    const quint64 request = next();
    QMetaObject::invokeMethod(m_worker,
                              [worker = m_worker, request, frame] { worker->fetch(request, frame); });
    return request;
}

void MovieFrameFetcher::close()
{
    next();
    *m_movie = 0;
    QMetaObject::invokeMethod(m_worker, [worker = m_worker] { worker->close(); });
}

#include "MovieFrameFetcher.moc"
