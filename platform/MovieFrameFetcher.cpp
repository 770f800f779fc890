// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/MovieFrameFetcher.h"

#include "platform/MovieFrameGrabber.h"

#include <QThread>

// Lives on the fetcher's thread and owns the grabber there.
class MovieFrameFetcherWorker final : public QObject
{
    Q_OBJECT

public:
    explicit MovieFrameFetcherWorker(std::shared_ptr<std::atomic<quint64>> latest)
        : m_latest(std::move(latest))
    {
        m_grabber.setKeepRecentFrames(true);
    }

    void open(quint64 request, const QString &path)
    {
        if (!takeUp(request))
            return;
        QString error;
        MovieFacts facts;
        QImage first;
        if (m_grabber.open(path, &error)) {
            facts = {m_grabber.framesPerSecond(), m_grabber.frameSize(), m_grabber.frameCount(),
                     m_grabber.firstFrameTime()};
            first = m_grabber.frameAt(0, &error);
        }
        Q_EMIT opened(request, facts, first, first.isNull() ? error : QString());
    }

    void fetch(quint64 request, qint64 frame)
    {
        if (!takeUp(request))
            return; // a newer request waits behind this one
        QString error;
        const QImage image = m_grabber.frameAt(frame, &error);
        if (m_latest->load() == request)
            Q_EMIT fetched(request, frame, image, image.isNull() ? error : QString());
    }

    void close() { m_grabber.close(); }

Q_SIGNALS:
    void opened(quint64 request, const MovieFacts &facts, const QImage &frame, const QString &error);
    void fetched(quint64 request, qint64 number, const QImage &frame, const QString &error);

private:
    bool takeUp(quint64 request)
    {
        if (m_latest->load() != request)
            return false;
        m_grabber.setSuperseded([latest = m_latest, request] { return latest->load() != request; });
        return true;
    }

    std::shared_ptr<std::atomic<quint64>> m_latest;
    MovieFrameGrabber m_grabber;
};

MovieFrameFetcher::MovieFrameFetcher(QObject *parent)
    : QObject(parent), m_latest(std::make_shared<std::atomic<quint64>>(0)), m_thread(new QThread),
      m_worker(new MovieFrameFetcherWorker(m_latest))
{
    qRegisterMetaType<MovieFacts>();
    m_thread->setObjectName(QStringLiteral("MovieFrameFetcher"));
    m_worker->moveToThread(m_thread);
    connect(m_worker, &MovieFrameFetcherWorker::opened, this, &MovieFrameFetcher::opened);
    connect(m_worker, &MovieFrameFetcherWorker::fetched, this, &MovieFrameFetcher::fetched);
    // The worker goes with its thread, whenever that ends.
    connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread->start();
}

MovieFrameFetcher::~MovieFrameFetcher()
{
    next(); // ends the decoding under way at its next frame
    disconnect(m_worker, nullptr, this, nullptr);
    m_thread->quit();
    // Every wait on the thread is bounded by the grabber's own; a thread still busy after them is
    // stuck in GStreamer, and is left behind rather than holding up the program's end.
    if (m_thread->wait(30'000)) {
        delete m_thread; // the worker went with it
    } else {
        connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
        qWarning("The movie frame fetcher did not stop; its thread is left behind.");
    }
}

quint64 MovieFrameFetcher::next()
{
    return ++*m_latest;
}

quint64 MovieFrameFetcher::open(const QString &path)
{
    const quint64 request = next();
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
    QMetaObject::invokeMethod(m_worker, [worker = m_worker] { worker->close(); });
}

#include "MovieFrameFetcher.moc"
