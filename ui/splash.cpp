// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/splash.h"

#include "platform/SoundPlayer.h"
#include "ui/kit/Skin.h"
#include "ui/kit/WindowPlacement.h"

#include <QCloseEvent>
#include <QTimer>

TSplashForm::TSplashForm(SoundPlayer *sounds, QWidget *parent)
    : QDialog(parent), m_sounds(sounds), m_timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("SplashForm"));
    setWindowTitle(tr("About"));
    Skin::apply(this, QStringLiteral("splash_skin.png"), std::nullopt); // the whole picture shows
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setModal(true);

    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(4000);
    m_timer1->setSingleShot(false);
    connect(m_timer1, &QTimer::timeout, this, &TSplashForm::Timer1Timer);
}

void TSplashForm::reject()
{
    // Only Timer1 closes this window.
}

void TSplashForm::closeEvent(QCloseEvent *event)
{
    if (event->spontaneous()) {
        event->ignore(); // the user's close button
        return;
    }
    Timer1Timer(); // the program closes it (e.g. the application quits)
    event->accept();
}

void TSplashForm::showEvent(QShowEvent *event)
{
    WindowPlacement::centreOnScreen(this);
    FormShow();
    QDialog::showEvent(event);
}

void TSplashForm::FormShow()
{
    // The timer starts whatever becomes of the sound, so the window always closes.
    m_timer1->start();
    if (m_sounds)
        m_sounds->play(QStringLiteral("logo.wav"));
}

void TSplashForm::Timer1Timer()
{
    m_timer1->stop();
    done(QDialog::Rejected);
}
