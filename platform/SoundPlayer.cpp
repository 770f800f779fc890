// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/SoundPlayer.h"

#include "platform/DataFiles.h"

#include <QAudioOutput>
#include <QDir>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

SoundPlayer::SoundPlayer(QObject *parent) : QObject(parent)
{
    pinMediaBackend();
}

SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::pinMediaBackend()
{
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");
}

void SoundPlayer::play(const QString &fileName)
{
    Q_EMIT playRequested(fileName);
    start(DataFiles::path(fileName));
}

void SoundPlayer::playFile(const QString &path)
{
    Q_EMIT playRequested(path);
    start(path);
}

void SoundPlayer::start(const QString &path)
{
    stop();
    m_currentFile = path;
    const QFileInfo info(path);
    if (!info.exists()) {
        reportFailure(nullptr, tr("the file does not exist"));
        return;
    }
    if (!info.isFile() || !info.isReadable()) {
        reportFailure(nullptr, info.isDir() ? tr("it is a folder") : tr("the file cannot be read"));
        return;
    }
    m_player = new QMediaPlayer(this);
    auto *output = new QAudioOutput(m_player);
    m_player->setAudioOutput(output);
    QMediaPlayer *player = m_player;
    connect(player, &QMediaPlayer::errorOccurred, this,
            [this, player](QMediaPlayer::Error, const QString &text) { reportFailure(player, text); });
    connect(player, &QMediaPlayer::mediaStatusChanged, this,
            [this, player](QMediaPlayer::MediaStatus status) {
                if (status == QMediaPlayer::InvalidMedia) {
                    reportFailure(player, player->errorString());
                } else if (status == QMediaPlayer::EndOfMedia && player == m_player) {
                    const QString done = m_currentFile;
                    stop();
                    Q_EMIT finished(done);
                }
            });
    player->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    player->play();
}

void SoundPlayer::stop()
{
    if (!m_player)
        return;
    QMediaPlayer *player = m_player;
    m_player = nullptr;
    disconnect(player, nullptr, this, nullptr); // a closed player reports nothing more
    player->stop();
    player->deleteLater(); // we may be inside one of its signals
}

bool SoundPlayer::isPlaying() const
{
    return m_player && m_player->playbackState() == QMediaPlayer::PlayingState;
}

void SoundPlayer::reportFailure(QMediaPlayer *player, const QString &reason)
{
    if (player && player != m_player)
        return; // the sound was already stopped or reported
    stop();
    const QString why = reason.isEmpty() ? tr("it is not a sound that can be played") : reason;
    const QString message =
        tr("The sound %1 could not be played: %2").arg(QDir::toNativeSeparators(m_currentFile), why);
    // Queued, so that play() always returns first, even when the file is missing.
    QMetaObject::invokeMethod(
        this, [this, message] { Q_EMIT failed(message); }, Qt::QueuedConnection);
}
