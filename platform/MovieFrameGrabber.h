// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

// Decodes one chosen frame of a movie exactly, by its number: a GStreamer pipeline outside the
// player that decodes forward to it, counting frames from the start of the movie (from a key frame
// before it, far into a long movie). Needed for MPEG
// program streams, where a plain seek snaps to key frames; used for every movie to learn the
// stream's own frame rate, picture size and frame count, which the player's metadata gets wrong.
//
// Every call may take long (it decodes): a window uses it only through MovieFrameFetcher, on a
// thread of its own. The pipeline changes state only when it opens and closes; in between it stays
// playing, its streaming thread held back by the sink's full queue, and every wait for a frame is
// bounded.
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

    // Of a frame, only its top left corner is ever shown (the display area is 325 x 245) or saved
    // (cut from (5, 5), at most 320 x 240): the pipeline crops every frame to this size, so a huge
    // movie never has a huge frame in memory.
    static constexpr int KeptWidth = 326;
    static constexpr int KeptHeight = 246;

    double framesPerSecond() const { return m_fps; }
    QSize frameSize() const { return m_size; } // the movie's own size, before the crop
    qint64 frameCount() const { return m_frameCount; }
    // The time stamp of the first frame in nanoseconds: not 0 in a program stream, whose clock
    // starts with the multiplexer's delay.
    qint64 firstFrameTime() const { return m_firstPts; }

    // Frame number n (0-based, clamped to the movie), in RGB32, cropped to at most KeptWidth x
    // KeptHeight from its top left corner; null with error set on failure.
    QImage frameAt(qint64 n, QString *error = nullptr);

    // The frame at one tenth of the movie at path, by a grabber of its own: the frame a movie page's
    // picture is made from. Null with error set when the movie cannot be played.
    static QImage frameAtTenth(const QString &path, QString *error = nullptr);

    // Asked between decoded frames: true ends the open or frameAt under way with a null result.
    void setSuperseded(std::function<bool()> superseded) { m_superseded = std::move(superseded); }
    // Keeps the last few frames counted to, for the steps back an arrow key makes (a window wants
    // this; a one-frame-per-movie batch does not).
    void setKeepRecentFrames(bool keep) { m_keepRecent = keep; }

private:
    bool waitForState(int state, QString *error);
    QString busError() const;
    qint64 countFrames(QString *error);
    bool playFrom(qint64 time, QString *error);
    struct _GstSample *pull(QString *error);
    bool superseded() const { return m_superseded && m_superseded(); }
    struct _GstSample *countedSample(qint64 n, QString *error);
    struct _GstSample *timedSample(qint64 n, QString *error);

    // What the decoder's pad-added handler links to, and the size it finds there.
    struct Link {
        struct _GstElement *crop = nullptr;
        QSize decoded;
    };

    Link m_link;
    struct _GstElement *m_pipeline = nullptr;
    struct _GstElement *m_sink = nullptr;
    double m_fps = 0;
    qint64 m_frameDuration = 0; // nanoseconds
    qint64 m_firstPts = 0;
    QSize m_size;
    qint64 m_frameCount = 0;
    qint64 m_nextFrame = -1;        // the frame the paused pipeline hands over next, -1 unknown
    QHash<qint64, QImage> m_recent; // the last frames counted to, by number
    bool m_keepRecent = false;
    std::function<bool()> m_superseded;
};
