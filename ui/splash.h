// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>

class QTimer;
class SoundPlayer;

// The About window: the program's picture, shown modally with the logo chime. It closes by itself
// 4 seconds after it is shown; the user cannot close it (Escape, the window manager's close), but
// the program can, so quitting the application is never refused.
class TSplashForm final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSplashForm)

public:
    // sounds: plays "logo.wav" at each showing (may be null: silent).
    explicit TSplashForm(SoundPlayer *sounds, QWidget *parent = nullptr);

    QTimer *Timer1() const { return m_timer1; }

public Q_SLOTS:
    void reject() override; // Escape and the window manager's close do not close it

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();
    void Timer1Timer();

    SoundPlayer *m_sounds;
    QTimer *m_timer1;
};
