// SPDX-License-Identifier: GPL-2.0-or-later
#include "viewing/GifPlayer.h"

#include "media/GifAnimation.h"

#include <QThreadPool>
#include <QTimer>

#include <mutex>

// What the player and its decoding thread share; it lives as long as either of them needs it.
struct GifPlayer::Shared {
    GifAnimation animation; // touched by one thread at a time: the player waits for each decode
    std::atomic_bool cancelled{false};
    std::mutex receiverMutex;
    GifPlayer *receiver = nullptr; // null once the player is gone
};

struct GifPlayer::Decoded {
    bool ok = false;
    bool finished = false;
    QImage frame;
    int index = -1;
    int holdMs = 0;
};

GifPlayer::GifPlayer(QObject *parent) : QObject(parent), m_shared(std::make_shared<Shared>())
{
    m_clock = new QTimer(this);
    m_clock->setSingleShot(true);
    connect(m_clock, &QTimer::timeout, this, &GifPlayer::holdOver);
    m_shared->receiver = this;
}

GifPlayer::~GifPlayer()
{
    m_shared->cancelled = true;
    const std::lock_guard lock(m_shared->receiverMutex);
    m_shared->receiver = nullptr;
}

bool GifPlayer::start(const QByteArray &data, const QSize &canvasLimit, bool animate, QString *error)
{
    GifAnimation &animation = m_shared->animation;
    if (!animation.open(data, canvasLimit, error) || !animation.advance(error))
        return false;
    m_current = animation.canvas();
    m_index = animation.frameIndex();
    m_holdMs = animation.delayMs();
    m_screen = animation.screenSize();
    m_running = animate;
    if (m_running) {
        m_clock->start(m_holdMs);
        decodeNext();
    }
    return true;
}

void GifPlayer::setPaused(bool paused)
{
    if (m_paused == paused)
        return;
    m_paused = paused;
    if (paused) {
        m_clock->stop();
    } else if (m_running) {
        if (m_due || !m_clock->isActive())
            m_clock->start(m_holdMs);
        m_due = false;
    }
}

void GifPlayer::decodeNext()
{
    QThreadPool::globalInstance()->start([shared = m_shared] {
        Decoded decoded;
        QString error;
        decoded.ok = shared->animation.advance(&error, &shared->cancelled);
        decoded.finished = shared->animation.isFinished();
        decoded.frame = shared->animation.canvas(); // shared until the next frame changes the canvas
        decoded.index = shared->animation.frameIndex();
        decoded.holdMs = shared->animation.delayMs();
        const std::lock_guard lock(shared->receiverMutex);
        if (GifPlayer *player = shared->receiver)
            QMetaObject::invokeMethod(
                player, [player, decoded] { player->takeDecoded(decoded); }, Qt::QueuedConnection);
    });
}

void GifPlayer::takeDecoded(const Decoded &decoded)
{
    if (!decoded.ok || decoded.finished) {
        // Damaged further on, or its loops are spent: the last good frame stays.
        m_running = false;
        m_clock->stop();
        return;
    }
    m_next = std::make_unique<Decoded>(decoded);
    if (m_due && !m_paused)
        showNext();
}

void GifPlayer::holdOver()
{
    if (m_next)
        showNext();
    else
        m_due = true;
}

void GifPlayer::showNext()
{
    m_due = false;
    const std::unique_ptr<Decoded> next = std::move(m_next);
    m_current = next->frame;
    m_index = next->index;
    m_holdMs = next->holdMs;
    Q_EMIT frameChanged(m_current);
    m_clock->start(m_holdMs);
    decodeNext();
}
