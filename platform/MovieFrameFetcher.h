// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <atomic>
#include <memory>

class QThread;
class MovieFrameGrabber;

// What a movie is, as its decoder counts it.
struct MovieFacts {
    double framesPerSecond = 0;
    QSize frameSize;
    qint64 frameCount = 0;
    qint64 firstFrameTime = 0; // nanoseconds
};
Q_DECLARE_METATYPE(MovieFacts)

// The frame grabber on a thread of its own, for a window: opening a movie and decoding a frame never
// run on the window's thread, and the answers come back as signals. A newer request supersedes the
// older ones still waiting or under way (the person pressing the right arrow ten times gets the
// tenth frame, not ten frames), so an answer names the request it answers.
class MovieFrameFetcher final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MovieFrameFetcher)

public:
    explicit MovieFrameFetcher(QObject *parent = nullptr);
    ~MovieFrameFetcher() override;

    // Each returns the request's number, which its answer carries.
    quint64 open(const QString &path);
    quint64 fetch(qint64 frame);
    void close(); // supersedes everything; the movie is let go on the thread

    // The newest request: an answer to an older one is stale.
    quint64 latest() const { return m_latest->load(); }

Q_SIGNALS:
    // error is empty on success; frame is the movie's first frame.
    void opened(quint64 request, const MovieFacts &facts, const QImage &frame, const QString &error);
    void fetched(quint64 request, qint64 number, const QImage &frame, const QString &error);

private:
    quint64 next();

    // Shared with the thread, which may outlive this object when GStreamer never lets it go.
    std::shared_ptr<std::atomic<quint64>> m_latest;
    QThread *m_thread;
    class MovieFrameFetcherWorker *m_worker;
};
