// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QMediaPlayer;

// The program's one wave-sound player: plays a sound file of the data folder in the background and
// returns at once. A sound that cannot be played is reported by failed(), never thrown at the caller,
// so a window that plays a sound as it opens always goes on to work and close.
class SoundPlayer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SoundPlayer)

public:
    explicit SoundPlayer(QObject *parent = nullptr);
    ~SoundPlayer() override;

    // Qt 6.4's FFmpeg backend crashes on WAV without an audio device: choose GStreamer unless the
    // environment already chose. Must run before the first multimedia object is made.
    static void pinMediaBackend();

    // Stops the sound that plays, then plays fileName from the data folder ("logo.wav").
    void play(const QString &fileName);
    // The same for a file anywhere.
    void playFile(const QString &path);
    void stop();

    bool isPlaying() const;
    QString currentFile() const { return m_currentFile; }

Q_SIGNALS:
    void playRequested(const QString &fileName); // as given to play() or playFile()
    void finished(const QString &path);          // the sound played to its end
    void failed(const QString &message);         // names the file and the reason

private:
    void start(const QString &path);
    void reportFailure(QMediaPlayer *player, const QString &reason);

    QMediaPlayer *m_player = nullptr; // one per sound: a closed player's late news is not ours
    QString m_currentFile;
};
