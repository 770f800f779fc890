#pragma once

#include "platform/MovieFrameGrabber.h"

#include <QImage>
#include <QObject>
#include <QString>

class QMediaPlayer;
class QVideoFrame;
class QVideoSink;

// The grabber's playback service: plays a movie and tells the picture shown, with positions and
// lengths in frames for every kind of movie. The player (QMediaPlayer on GStreamer) plays, pauses
// and seeks AVI movies to the exact frame; a seek in an MPEG program stream snaps to key frames, so
// the frame shown after a seek in one comes from the decode-forward grabber instead.
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
    // reason; nothing is loaded then.
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
    qint64 length() const { return m_grabber.frameCount(); }
    QSize frameSize() const { return m_grabber.frameSize(); }
    double framesPerSecond() const { return m_grabber.framesPerSecond(); }
    QImage currentFrame() const { return m_frame; } // the decoded frame on screen
    // The frame at position(): the one on screen, or decoded when the screen lags behind a seek.
    QImage frameAtPosition();

Q_SIGNALS:
    void frameShown(const QImage &frame);
    void ended(); // a play command reached the end of the movie

private:
    void videoFrameArrived(const QVideoFrame &frame);
    void show(const QImage &frame, qint64 number);
    qint64 msOfFrame(qint64 frame) const;
    bool waitUntilLoaded();

    MovieFrameGrabber m_grabber;
    QVideoSink *m_sink;
    QMediaPlayer *m_player; // made after the sink, so it goes first
    QString m_path;
    QString m_error;
    Seeking m_seeking = Seeking::Player;
    QImage m_frame;
    qint64 m_frameNumber = -1; // which frame m_frame is
    qint64 m_position = 0;     // the frame asked for by the last seek
    bool m_followSink = true;  // false while a decoded-forward frame stands for the position
    bool m_atEnd = false;
};
