// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/kit/HelpHints.h"

#include "core/PageOptions.h"
#include "ui/kit/BalloonHint.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QWidget>

namespace {

constexpr int kShowDelayMs = 1;
constexpr int kNextHintDelayMs = 10000;
constexpr int kHidePauseMs = 100000;
const char *const kTextProperty = "tessaloomHint";
const char *const kModeProperty = "tessaloomHintMode";
const char *const kShowProperty = "tessaloomShowHint";

} // namespace

HelpHints &HelpHints::instance()
{
    static HelpHints *hints = new HelpHints; // lives as long as the application
    return *hints;
}

HelpHints::HelpHints()
{
    m_showTimer.setSingleShot(true);
    m_hideTimer.setSingleShot(true);
    connect(&m_showTimer, &QTimer::timeout, this, &HelpHints::showPending);
    connect(&m_hideTimer, &QTimer::timeout, this, &HelpHints::hideHint);
}

void HelpHints::setHint(QWidget *control, const QString &text, Mode mode)
{
    control->setProperty(kTextProperty, text);
    control->setProperty(kModeProperty, int(mode));
    control->setProperty(kShowProperty, mode == Always);
    control->setAttribute(Qt::WA_Hover);
    control->setMouseTracking(true);
    control->installEventFilter(&instance());
}

QString HelpHints::hintOf(const QWidget *control)
{
    return control->property(kTextProperty).toString();
}

bool HelpHints::showsHint(const QWidget *control) const
{
    return control->property(kShowProperty).toBool();
}

bool HelpHints::decide(QWidget *control)
{
    const Mode mode = Mode(control->property(kModeProperty).toInt());
    const bool show = mode == Always || (mode == FollowsHelpSystem && m_options && m_options->HelpSystem());
    control->setProperty(kShowProperty, show);
    return show;
}

bool HelpHints::eventFilter(QObject *watched, QEvent *event)
{
    auto *control = qobject_cast<QWidget *>(watched);
    if (!control)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::Enter:
    case QEvent::HoverMove:
        if (!decide(control)) {
            if (m_control == control)
                hideHint();
            break;
        }
        if (m_control == control && m_balloon && m_balloon->isVisible())
            break;
        m_pending = control;
        m_showTimer.start(m_balloon && m_balloon->isVisible() ? kNextHintDelayMs : kShowDelayMs);
        break;
    case QEvent::Leave:
    case QEvent::MouseButtonPress:
    case QEvent::Hide:
        if (m_pending == control)
            m_showTimer.stop();
        if (m_control == control)
            hideHint();
        break;
    default:
        break;
    }
    return false;
}

void HelpHints::showPending()
{
    QWidget *control = m_pending;
    if (!control || !control->isVisible() || !showsHint(control))
        return;
    if (!m_balloon)
        m_balloon = new BalloonHint;
    m_control = control;
    const QPoint tip = control->mapToGlobal(QPoint(control->width() / 2, control->height()));
    m_balloon->showText(tip, hintOf(control), QCursor::pos());
    m_hideTimer.start(kHidePauseMs);
}

void HelpHints::hideHint()
{
    m_hideTimer.stop();
    if (m_balloon)
        m_balloon->hide();
    m_control = nullptr;
}
