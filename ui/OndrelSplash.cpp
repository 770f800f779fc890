// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/OndrelSplash.h"

#include "platform/SoundPlayer.h"
#include "ui/kit/Skin.h"
#include "ui/kit/WindowPlacement.h"

#include <QMouseEvent>
#include <QTimer>

TOndrelSplashForm::TOndrelSplashForm(SoundPlayer *sounds, QWidget *parent)
    : QDialog(parent), m_sounds(sounds), m_timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("OndrelSplashForm"));
    setWindowTitle(tr("Tessaloom 2001"));
    setAttribute(Qt::WA_DeleteOnClose); // released when it closes
    Skin::apply(this, QStringLiteral("ondrelsplash_skin.png"), QColor(Qt::black));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setModal(true);
    setCursor(Qt::PointingHandCursor);
    // Installed after the skin's filter, so it sees the mouse first and keeps the skin from dragging.
    installEventFilter(this);

    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(4000);
    connect(m_timer1, &QTimer::timeout, this, &TOndrelSplashForm::Timer1Timer);
}

void TOndrelSplashForm::showEvent(QShowEvent *event)
{
    WindowPlacement::centreOnScreen(this);
    FormShow();
    QDialog::showEvent(event);
}

bool TOndrelSplashForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != this)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        m_pressed = static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
        return true;
    case QEvent::MouseMove:
        return true; // no dragging
    case QEvent::MouseButtonRelease:
        if (m_pressed && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
            rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint())) {
            m_pressed = false;
            fcImageForm1Click();
        }
        return true;
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void TOndrelSplashForm::FormShow()
{
    m_timer1->start(); // first, so the splash closes even when the sound cannot play
    if (m_sounds)
        m_sounds->play(QStringLiteral("logo.wav"));
}

void TOndrelSplashForm::Timer1Timer()
{
    m_timer1->stop();
    close();
}

void TOndrelSplashForm::fcImageForm1Click()
{
    m_timer1->stop();
    close();
}
