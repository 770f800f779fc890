// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/MoviePlayback.h"

#include "platform/MovieFrameGrabber.h"

#include <QAudioOutput>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>

#include <cmath>
#include <limits>
#include <utility>

namespace
{

// How far two frames' top left corners differ: the sum of the colour differences over the part they
// share. The player and the grabber convert colours each their own way, so the same frame gives a
// small sum, never zero.
qint64 differenceOf(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    const int width = qMin(x.width(), y.width());
    const int height = qMin(x.height(), y.height());
    if (width <= 0 || height <= 0)
        return std::numeric_limits<qint64>::max();
    qint64 sum = 0;
    for (int row = 0; row < height; ++row) {
        const auto *p = reinterpret_cast<const QRgb *>(x.constScanLine(row));
        const auto *q = reinterpret_cast<const QRgb *>(y.constScanLine(row));
        for (int column = 0; column < width; ++column)
            sum += qAbs(qRed(p[column]) - qRed(q[column])) + qAbs(qGreen(p[column]) - qGreen(q[column])) +
                   qAbs(qBlue(p[column]) - qBlue(q[column]));
    }
    return sum;
}

// The frames either side of the player's guess that may be the one on screen.
constexpr qint64 GuessSpread = 2;

} // namespace

MoviePlayback::MoviePlayback(QObject *parent)
    : QObject(parent), m_fetcher(new MovieFrameFetcher(this)), m_sink(new QVideoSink(this)),
      m_player(new QMediaPlayer(this))
{
    m_player->setVideoSink(m_sink);
    // The movie's sound goes to the default output, as the viewer's sounds do.
    m_player->setAudioOutput(new QAudioOutput(m_player));
    connect(m_sink, &QVideoSink::videoFrameChanged, this, &MoviePlayback::videoFrameArrived);
    connect(m_fetcher, &MovieFrameFetcher::fetched, this, &MoviePlayback::frameFetched);
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status != QMediaPlayer::EndOfMedia || !isOpen())
            return;
        m_atEnd = true;
        Q_EMIT ended();
    });
}

MoviePlayback::~MoviePlayback()
{
    // The player's last, empty frame must not reach a half-destroyed playback.
    disconnect(m_sink, nullptr, this, nullptr);
    disconnect(m_fetcher, nullptr, this, nullptr);
    delete m_player;
}

qint64 MoviePlayback::msOfFrame(qint64 frame) const
{
    // The first millisecond inside the frame, so that the way back rounds down to the same frame.
    return qint64(std::ceil(double(frame) * 1000.0 / framesPerSecond()));
}

bool MoviePlayback::waitFor(const std::function<bool()> &done, int ms)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer check;
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    // The answers come as queued signals; whichever handler they reach, the check sees the result.
    connect(&check, &QTimer::timeout, &loop, [&loop, &done] {
        if (done())
            loop.quit();
    });
    check.start(5);
    timeout.start(ms);
    // One run of the loop: it also ends when the program quits, which a second run would not notice.
    loop.exec();
    return done();
}

bool MoviePlayback::waitUntilLoaded()
{
    waitFor(
        [this] {
            return m_player->mediaStatus() != QMediaPlayer::LoadingMedia ||
                   m_player->error() != QMediaPlayer::NoError;
        },
        10'000);
    return m_player->error() == QMediaPlayer::NoError &&
           m_player->mediaStatus() != QMediaPlayer::InvalidMedia &&
           m_player->mediaStatus() != QMediaPlayer::LoadingMedia;
}

bool MoviePlayback::open(const QString &path, Seeking seeking)
{
    close();
    // The decoder learns the movie's true rate, size and length on its own thread.
    bool answered = false;
    QString reason;
    QImage first;
    const quint64 request = m_fetcher->open(path);
    const QMetaObject::Connection answer =
        connect(m_fetcher, &MovieFrameFetcher::opened, this,
                [&, request](quint64 r, const MovieFacts &facts, const QImage &frame, const QString &error) {
                    if (r != request)
                        return;
                    answered = true;
                    m_facts = facts;
                    first = frame;
                    reason = error;
                });
    const bool inTime = waitFor([&answered] { return answered; }, OpenWaitMs);
    disconnect(answer);
    if (!inTime)
        reason = tr("it did not open within %1 seconds").arg(OpenWaitMs / 1000);
    if (!inTime || first.isNull()) {
        m_fetcher->close();
        m_facts = {};
        m_error = tr("%1 cannot be played: %2").arg(QDir::toNativeSeparators(path), reason);
        return false;
    }
    m_seeking = seeking;
    m_player->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    if (!waitUntilLoaded()) {
        const QString text = m_player->errorString();
        m_player->setSource(QUrl());
        m_fetcher->close();
        m_facts = {};
        m_error =
            tr("%1 cannot be played: %2")
                .arg(QDir::toNativeSeparators(path), text.isEmpty() ? tr("the player cannot load it") : text);
        return false;
    }
    m_path = path;
    m_error.clear();
    show(first, 0);
    m_player->pause(); // prerolls the player at its first frame without playing
    return true;
}

void MoviePlayback::close()
{
    m_player->stop();
    m_player->setSource(QUrl());
    m_fetcher->close();
    m_facts = {};
    m_path.clear();
    m_frame = QImage();
    m_frameNumber = -1;
    m_position = 0;
    m_awaitedFrame = -1;
    m_fetchRequest = 0;
    m_followSink = true;
    m_atEnd = false;
    m_seekLater = -1;
}

void MoviePlayback::play()
{
    if (!isOpen())
        return;
    if (m_atEnd) { // the player stopped at the end: start over, as a player does
        m_atEnd = false;
        m_player->setPosition(0);
    }
    m_followSink = true;
    m_awaitedFrame = -1;
    m_fetchRequest = 0;
    m_player->play();
}

void MoviePlayback::pause()
{
    if (isOpen() && m_player->playbackState() == QMediaPlayer::PlayingState) {
        m_player->pause();
        // The frame on screen is where the movie stopped; frames still on their way are not shown.
        m_position = m_frameNumber >= 0 ? m_frameNumber : 0;
        if (m_seeking == Seeking::DecodeForward && !m_frame.isNull()) {
            // After a seek the player stamps a program stream's frames with their decoding time, a
            // frame early: its number is only a guess, the frame itself is known.
            m_position = shownFrameAmong(m_position);
            m_frameNumber = m_position;
        }
        if (const qint64 later = std::exchange(m_seekLater, -1); later >= 0)
            seek(later);
    }
}

qint64 MoviePlayback::shownFrameAmong(qint64 guess)
{
    const QImage shown = m_frame;
    qint64 best = guess;
    qint64 bestDifference = std::numeric_limits<qint64>::max();
    m_identifying = true;
    // From the last one down: a step back comes from the frames the decoder keeps.
    for (qint64 n = qMin(guess + GuessSpread, length() - 1); n >= qMax<qint64>(0, guess - GuessSpread); --n) {
        m_candidate = QImage();
        fetch(n);
        if (!waitFor([this] { return m_fetchRequest == 0; }, FrameWaitMs) || m_candidate.isNull())
            break; // the guess stands
        if (const qint64 difference = differenceOf(shown, m_candidate); difference < bestDifference) {
            bestDifference = difference;
            best = n;
        }
    }
    m_identifying = false;
    m_candidate = QImage();
    if (m_fetchRequest != 0) // given up waiting: its frame must not replace the one shown
        m_fetchRequest = 0;
    return best;
}

void MoviePlayback::resume()
{
    if (isOpen() && m_player->playbackState() == QMediaPlayer::PausedState)
        play();
}

void MoviePlayback::stop()
{
    pause(); // the player's own stop would rewind
}

void MoviePlayback::seek(qint64 frame)
{
    if (!isOpen())
        return;
    frame = qBound<qint64>(0, frame, qMax<qint64>(0, length() - 1));
    if (m_identifying) { // pause() is still finding the frame on screen; a seek to the guess is none
        if (frame != m_position)
            m_seekLater = frame;
        return;
    }
    m_atEnd = false;
    m_position = frame;
    if (isPlaying()) { // a movie that plays goes on playing from there
        m_player->setPosition(msOfFrame(frame));
        return;
    }
    if (m_player->playbackState() != QMediaPlayer::PausedState)
        m_player->pause();
    m_player->setPosition(msOfFrame(frame));
    if (m_seeking == Seeking::DecodeForward) {
        m_followSink = false;
        fetch(frame);
    } else {
        m_awaitedFrame = frame;
    }
}

void MoviePlayback::fetch(qint64 frame)
{
    m_fetchError.clear();
    m_fetchFrame = frame;
    m_fetchRequest = m_fetcher->fetch(frame);
}

bool MoviePlayback::isPlaying() const
{
    return m_player->playbackState() == QMediaPlayer::PlayingState;
}

bool MoviePlayback::isPaused() const
{
    return m_player->playbackState() == QMediaPlayer::PausedState;
}

qint64 MoviePlayback::position() const
{
    if (!isOpen())
        return 0;
    if (m_atEnd)
        return length();
    if (!isPlaying())
        return m_position;
    const qint64 frame = qint64(std::floor(double(m_player->position()) * framesPerSecond() / 1000.0));
    return qBound<qint64>(0, frame, qMax<qint64>(0, length() - 1));
}

void MoviePlayback::videoFrameArrived(const QVideoFrame &frame)
{
    if (!frame.isValid() || !m_followSink || !isOpen())
        return;
    // startTime() is the frame's time, or after a paused seek the time asked for. A program
    // stream's frames carry its own clock, which starts late (the multiplexer's delay).
    // Its time stamps are only near a frame's start, so they are rounded to the nearest frame.
    const bool programStream = m_seeking == Seeking::DecodeForward;
    const double frames =
        double(qMax<qint64>(0, frame.startTime() - (programStream ? m_facts.firstFrameTime / 1000 : 0))) *
        framesPerSecond() / 1e6;
    const qint64 number = programStream ? std::llround(frames) : qint64(std::floor(frames + 1e-6));
    if (!isPlaying()) {
        // Paused: only the frame a seek asked for changes the picture; one that was on its way
        // when the movie paused would make the screen differ from the position.
        if (number != m_awaitedFrame)
            return;
        m_awaitedFrame = -1;
    }
    // Only the frame's top left corner is ever shown or saved; the rest is not kept.
    const QImage image = frame.toImage();
    show(image.copy(0, 0, qMin(image.width(), MovieFrameGrabber::KeptWidth),
                    qMin(image.height(), MovieFrameGrabber::KeptHeight)),
         number);
}

void MoviePlayback::frameFetched(quint64 request, qint64 number, const QImage &frame, const QString &error)
{
    if (request != m_fetchRequest)
        return; // superseded, or the movie plays again
    m_fetchRequest = 0;
    if (frame.isNull()) {
        m_fetchError = error;
        return;
    }
    if (m_identifying) {
        m_candidate = frame;
        return;
    }
    m_awaitedFrame = -1;
    show(frame, number);
}

void MoviePlayback::show(const QImage &frame, qint64 number)
{
    m_frame = frame;
    m_frameNumber = number;
    Q_EMIT frameShown(m_frame);
}

QImage MoviePlayback::frameAtPosition(QString *error)
{
    if (!isOpen())
        return {};
    const qint64 wanted = qMin(position(), length() - 1);
    if (m_frame.isNull() || m_frameNumber != wanted) {
        // The screen lags behind a seek: wait for the frame, decoded on the fetcher's thread.
        if (m_fetchRequest == 0 || m_fetchFrame != wanted)
            fetch(wanted);
        const bool inTime = waitFor([this] { return m_fetchRequest == 0; }, FrameWaitMs);
        if (!inTime || m_frame.isNull() || m_frameNumber != wanted) {
            if (error)
                *error = inTime ? m_fetchError
                                : tr("frame %1 was not decoded within %2 seconds")
                                      .arg(wanted)
                                      .arg(FrameWaitMs / 1000);
            return {};
        }
    }
    return m_frame;
}
