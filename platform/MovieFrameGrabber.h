#pragma once

#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>

// Decodes one chosen frame of a movie exactly, by its number: a GStreamer pipeline outside the
// player that decodes forward to it, counting frames from the start of the movie (from a key frame
// before it, far into a long movie). Needed for MPEG
// program streams, where a plain seek snaps to key frames; used for every movie to learn the
// stream's own frame rate, picture size and frame count, which the player's metadata gets wrong.
class MovieFrameGrabber final
{
    Q_DISABLE_COPY_MOVE(MovieFrameGrabber)

public:
    MovieFrameGrabber();
    ~MovieFrameGrabber();

    // Opens the movie and reads its first frame. False with error set when it has no playable
    // video stream.
    bool open(const QString &path, QString *error = nullptr);
    void close();
    bool isOpen() const { return m_pipeline != nullptr; }

    double framesPerSecond() const { return m_fps; }
    QSize frameSize() const { return m_size; }
    qint64 frameCount() const { return m_frameCount; }

    // Frame number n (0-based, clamped to the movie), in RGB32; null with error set on failure.
    QImage frameAt(qint64 n, QString *error = nullptr);

    // The frame at one tenth of the movie at path, by a grabber of its own: the frame a movie page's
    // picture is made from. Null with error set when the movie cannot be played.
    static QImage frameAtTenth(const QString &path, QString *error = nullptr);

private:
    bool waitForState(int state, QString *error);
    QString busError() const;
    qint64 countFrames();
    bool playFrom(qint64 time, QString *error);
    void holdStill();
    struct _GstSample *countedSample(qint64 n, QString *error);
    struct _GstSample *timedSample(qint64 n, QString *error);

    struct _GstElement *m_pipeline = nullptr;
    struct _GstElement *m_sink = nullptr;
    double m_fps = 0;
    qint64 m_frameDuration = 0; // nanoseconds
    qint64 m_firstPts = 0;
    QSize m_size;
    qint64 m_frameCount = 0;
    qint64 m_nextFrame = -1;        // the frame the paused pipeline hands over next, -1 unknown
    QHash<qint64, QImage> m_recent; // the last frames counted to, by number
};
