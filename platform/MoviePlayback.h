// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/MovieFrameFetcher.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <functional>

class QMediaPlayer;
class QVideoFrame;
class QVideoSink;

// The grabber's playback service: plays a movie and tells the picture shown, with positions and
// lengths in frames for every kind of movie. The player (QMediaPlayer on GStreamer) plays, pauses
// and seeks AVI movies to the exact frame; a seek in an MPEG program stream snaps to key frames, so
// the frame shown after a seek in one comes from the decode-forward grabber instead, which runs on
// a thread of its own (MovieFrameFetcher). Once paused, the position is the frame on screen.
class MoviePlayback final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MoviePlayback)

public:
    enum class Seeking {
        Player,        // the player's own seek is frame-exact (AVI)
        DecodeForward, // decode from an earlier key frame (MPEG)
    };

    explicit MoviePlayback(QObject *parent = nullptr);
    ~MoviePlayback() override;

    // Opens path stopped at its first frame. False with errorString() naming the file and the
    // reason; nothing is loaded then. Waits for the decoder (at most OpenWaitMs) with the events
    // running, so the window goes on repainting.
    bool open(const QString &path, Seeking seeking);
    void close();
    bool isOpen() const { return !m_path.isEmpty(); }
    QString path() const { return m_path; }
    QString errorString() const { return m_error; }

    void play();             // from the current position; ended() at the end
    void pause();            // holds the position
    void resume();           // after pause()
    void stop();             // holds the position
    void seek(qint64 frame); // shows that frame; playback stops there
    bool isPlaying() const;
    bool isPaused() const;

    qint64 position() const; // the frame shown; length() once the movie has played to its end
    qint64 length() const { return m_facts.frameCount; }
    QSize frameSize() const { return m_facts.frameSize; }
    double framesPerSecond() const { return m_facts.framesPerSecond; }
    QImage currentFrame() const { return m_frame; } // the decoded frame on screen
    // The frame at position(): the one on screen, or, when the screen still lags behind a seek, the
    // seek's frame once it is decoded (waiting at most FrameWaitMs with the events running). Null
    // with error set when it does not come.
    QImage frameAtPosition(QString *error = nullptr);

    static constexpr int OpenWaitMs = 60'000;
    static constexpr int FrameWaitMs = 15'000;

Q_SIGNALS:
    void frameShown(const QImage &frame);
    void ended(); // a play command reached the end of the movie

private:
    void videoFrameArrived(const QVideoFrame &frame);
    void frameFetched(quint64 request, qint64 number, const QImage &frame, const QString &error);
    void fetch(qint64 frame);
    qint64 shownFrameAmong(qint64 guess);
    void show(const QImage &frame, qint64 number);
    qint64 msOfFrame(qint64 frame) const;
    bool waitUntilLoaded();
    // Runs the events until done() holds or ms have passed; false on time out.
    bool waitFor(const std::function<bool()> &done, int ms);

    MovieFrameFetcher *m_fetcher;
    MovieFacts m_facts;
    QVideoSink *m_sink;
    QMediaPlayer *m_player; // made after the sink, so it goes first
    QString m_path;
    QString m_error;
    Seeking m_seeking = Seeking::Player;
    QImage m_frame;
    qint64 m_frameNumber = -1;  // which frame m_frame is
    qint64 m_position = 0;      // while not playing: the frame on screen, or asked for by the last seek
    qint64 m_awaitedFrame = -1; // the player's frame that a paused seek waits for
    quint64 m_fetchRequest = 0; // the fetcher's request whose frame is wanted, 0 none
    qint64 m_fetchFrame = -1;   // the frame it asks for
    QString m_fetchError;       // why the last fetch gave no frame
    bool m_followSink = true;   // false while a decoded-forward frame stands for the position
    bool m_atEnd = false;
    bool m_identifying = false; // pause() is finding out which frame is on screen
    qint64 m_seekLater = -1;    // a seek asked for meanwhile, done once that is known
    QImage m_candidate;         // the fetched frame while identifying, instead of showing it
};
