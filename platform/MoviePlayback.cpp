#include "platform/MoviePlayback.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>

#include <cmath>

MoviePlayback::MoviePlayback(QObject *parent)
    : QObject(parent), m_sink(new QVideoSink(this)), m_player(new QMediaPlayer(this))
{
    m_player->setVideoSink(m_sink);
    connect(m_sink, &QVideoSink::videoFrameChanged, this, &MoviePlayback::videoFrameArrived);
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
    delete m_player;
}

qint64 MoviePlayback::msOfFrame(qint64 frame) const
{
    // The first millisecond inside the frame, so that the way back rounds down to the same frame.
    return qint64(std::ceil(double(frame) * 1000.0 / m_grabber.framesPerSecond()));
}

bool MoviePlayback::waitUntilLoaded()
{
    QEventLoop loop;
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(m_player, &QMediaPlayer::mediaStatusChanged, &loop, [&loop](QMediaPlayer::MediaStatus status) {
        if (status != QMediaPlayer::LoadingMedia)
            loop.quit();
    });
    connect(m_player, &QMediaPlayer::errorOccurred, &loop, &QEventLoop::quit);
    timeout.start(10'000);
    // One run of the loop: it also ends when the program quits, which a second run would not notice.
    if (m_player->mediaStatus() == QMediaPlayer::LoadingMedia && m_player->error() == QMediaPlayer::NoError)
        loop.exec();
    return m_player->error() == QMediaPlayer::NoError &&
           m_player->mediaStatus() != QMediaPlayer::InvalidMedia &&
           m_player->mediaStatus() != QMediaPlayer::LoadingMedia;
}

bool MoviePlayback::open(const QString &path, Seeking seeking)
{
    close();
    QString reason;
    if (!m_grabber.open(path, &reason)) {
        m_error = tr("%1 cannot be played: %2").arg(QDir::toNativeSeparators(path), reason);
        return false;
    }
    m_seeking = seeking;
    m_player->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    if (!waitUntilLoaded()) {
        const QString text = m_player->errorString();
        m_player->setSource(QUrl());
        m_grabber.close();
        m_error =
            tr("%1 cannot be played: %2")
                .arg(QDir::toNativeSeparators(path), text.isEmpty() ? tr("the player cannot load it") : text);
        return false;
    }
    m_path = path;
    m_error.clear();
    m_player->pause(); // shows the first frame without playing
    return true;
}

void MoviePlayback::close()
{
    m_player->stop();
    m_player->setSource(QUrl());
    m_grabber.close();
    m_path.clear();
    m_frame = QImage();
    m_frameNumber = -1;
    m_position = 0;
    m_followSink = true;
    m_atEnd = false;
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
    m_player->play();
}

void MoviePlayback::pause()
{
    if (isOpen() && m_player->playbackState() == QMediaPlayer::PlayingState) {
        m_position = position();
        m_player->pause();
    }
}

void MoviePlayback::resume()
{
    if (isOpen() && m_player->playbackState() == QMediaPlayer::PausedState)
        play();
}

void MoviePlayback::stop()
{
    if (isOpen() && m_player->playbackState() == QMediaPlayer::PlayingState) {
        m_position = position();
        m_player->pause(); // the player's own stop would rewind
    }
}

void MoviePlayback::seek(qint64 frame)
{
    if (!isOpen())
        return;
    frame = qBound<qint64>(0, frame, qMax<qint64>(0, length() - 1));
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
        const QImage image = m_grabber.frameAt(frame);
        if (!image.isNull())
            show(image, frame);
    }
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
    const qint64 frame =
        qint64(std::floor(double(m_player->position()) * m_grabber.framesPerSecond() / 1000.0));
    return qBound<qint64>(0, frame, qMax<qint64>(0, length() - 1));
}

void MoviePlayback::videoFrameArrived(const QVideoFrame &frame)
{
    if (!frame.isValid() || !m_followSink || !isOpen())
        return;
    // startTime() is the frame's time, or after a paused seek the time asked for.
    show(frame.toImage(),
         qint64(std::floor(double(qMax<qint64>(0, frame.startTime())) * framesPerSecond() / 1e6 + 1e-6)));
}

void MoviePlayback::show(const QImage &frame, qint64 number)
{
    m_frame = frame;
    m_frameNumber = number;
    Q_EMIT frameShown(m_frame);
}

QImage MoviePlayback::frameAtPosition()
{
    if (!isOpen())
        return {};
    const qint64 wanted = qMin(position(), length() - 1);
    if (!m_frame.isNull() && m_frameNumber == wanted)
        return m_frame;
    // The player has not shown that frame yet (it draws a moment after a seek): decode it.
    const QImage image = m_grabber.frameAt(wanted);
    if (!image.isNull())
        show(image, wanted);
    return m_frame;
}
