// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

#include <functional>

// A movie's exact frame count and where its key frames are, as a decode from its start counts them:
// a jump decodes from the nearest key frame at or before the frame wanted instead of from the start.
// A key frame is known by the time stamp the demultiplexer gave it, which the decoder hands on
// unchanged; the times the decoder makes up for the frames between key frames of a program stream
// are not trusted (see MovieFrameGrabber.cpp).
struct MovieFrameIndex {
    struct KeyFrame {
        qint64 number = 0; // counted from the start of the movie, in display order
        qint64 time = 0;   // its time stamp in nanoseconds
    };

    qint64 frameCount = 0;
    QList<KeyFrame> keyFrames; // ascending in number and in time

    bool isEmpty() const { return frameCount <= 0; }
    // The last key frame at or before frame n; null when there is none.
    const KeyFrame *keyFrameAtOrBefore(qint64 n) const;
    // The key frame whose time is within tolerance of time; null when there is none.
    const KeyFrame *keyFrameAt(qint64 time, qint64 tolerance) const;

    // Decodes the movie at path from its start on a pipeline of its own, counting its frames.
    // stopped() true ends it early (an empty index, no error); while paused() is true it waits (the
    // decoder held back by a full queue), so that a request for a frame goes first. An empty index
    // with error set when the movie cannot be decoded to its end.
    static MovieFrameIndex build(const QString &path, const std::function<bool()> &stopped,
                                 const std::function<bool()> &paused, QString *error);
};
Q_DECLARE_METATYPE(MovieFrameIndex)
