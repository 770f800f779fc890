// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>

class QTimer;
class SoundPlayer;

// The start-up splash: shown modally with the logo chime before the main window appears; closes
// after 4 seconds or at the first click on it, whichever comes first, and is then released.
// Its picture cannot be dragged, so every click counts.
class TOndrelSplashForm final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TOndrelSplashForm)

public:
    // sounds: plays "logo.wav" when shown (may be null: silent).
    explicit TOndrelSplashForm(SoundPlayer *sounds, QWidget *parent = nullptr);

    QTimer *Timer1() const { return m_timer1; }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void Timer1Timer();
    void fcImageForm1Click();

    SoundPlayer *m_sounds;
    QTimer *m_timer1;
    bool m_pressed = false;
};
