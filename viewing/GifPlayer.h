// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <memory>

class QTimer;

// Plays a GIF animation for the viewer: the first frame is decoded at once, each later one on a pooled
// thread while the frame before it is held, so the window's thread only shows finished frames. Frames
// are composed on a canvas no larger than the limit given (see GifAnimation). Destroying the player
// stops it at once: a frame still being decoded is cancelled and its memory goes with its thread.
class GifPlayer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GifPlayer)

public:
    explicit GifPlayer(QObject *parent = nullptr);
    ~GifPlayer() override;

    // False with error set when the first frame cannot be shown. With animate, the frames follow one
    // another as their delays say, for as many loops as the file asks.
    bool start(const QByteArray &data, const QSize &canvasLimit, bool animate, QString *error);
    void setPaused(bool paused);

    bool isRunning() const { return m_running && !m_paused; } // frames still to come, not paused
    bool isPaused() const { return m_paused; }
    const QImage &currentFrame() const { return m_current; }
    int currentFrameIndex() const { return m_index; }
    int currentHoldMs() const { return m_holdMs; }
    QSize screenSize() const { return m_screen; }

Q_SIGNALS:
    void frameChanged(const QImage &frame); // the next frame, for the display

private:
    struct Shared;
    struct Decoded;

    void decodeNext();
    void takeDecoded(const Decoded &decoded);
    void holdOver();
    void showNext();

    std::shared_ptr<Shared> m_shared;
    QTimer *m_clock = nullptr;
    QImage m_current;
    int m_index = -1;
    int m_holdMs = 0;
    QSize m_screen;
    std::unique_ptr<Decoded> m_next; // decoded, waiting for the hold of the one shown to end
    bool m_due = false;              // the hold ended before the next frame was ready
    bool m_running = false;
    bool m_paused = false;
};
