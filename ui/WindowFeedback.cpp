// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/WindowFeedback.h"

#include "core/MessageText.h"
#include "platform/SoundPlayer.h"
#include "ui/guager.h"
#include "ui/prompt2.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>

WindowFeedback::WindowFeedback(QWidget *mainWindow, TPrompt2Form *messageWindow, SoundPlayer *sounds,
                               QObject *parent)
    : QObject(parent), m_mainWindow(mainWindow), m_messageWindow(messageWindow), m_sounds(sounds)
{
    if (m_sounds)
        connect(m_sounds, &SoundPlayer::failed, this, &WindowFeedback::soundFailed);
    if (m_messageWindow) {
        connect(m_messageWindow, &QDialog::finished, this, [this] {
            if (!m_pendingFailures.isEmpty()) // after the showing that is closing has returned
                QTimer::singleShot(0, this, &WindowFeedback::showPendingFailures);
        });
    }
}

WindowFeedback::~WindowFeedback()
{
    if (m_gauge)
        m_gauge->close();
}

void WindowFeedback::showMessage(const QString &shown)
{
    showEscaped(escapeControls(shown));
}

void WindowFeedback::showMessageLines(const QStringList &lines)
{
    showEscaped(escapedLines(lines));
}

void WindowFeedback::showEscaped(const QString &text)
{
    if (!m_messageWindow)
        return;
    if (!m_messageWindow->isVisible()) {
        m_messageWindow->showMessage(text);
        return;
    }
    // Already up (asked from a timer or another window): a second modal showing of the same window
    // cannot start, so take its place and wait for the user to close it.
    m_messageWindow->setText(text);
    QEventLoop loop;
    connect(m_messageWindow, &QDialog::finished, &loop, &QEventLoop::quit);
    connect(m_messageWindow, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec();
}

void WindowFeedback::showErrorBox(const QString &text)
{
    QMessageBox::critical(m_mainWindow, QGuiApplication::applicationDisplayName(), escapeControls(text));
}

void WindowFeedback::playSound(const QString &fileName)
{
    if (m_sounds)
        m_sounds->play(fileName);
}

void WindowFeedback::progressSetMaximum(int maximum)
{
    gauge()->setMaximum(maximum);
}

void WindowFeedback::progressShow()
{
    gauge()->show();
}

void WindowFeedback::progressStep()
{
    gauge()->step();
}

void WindowFeedback::letEventsRun()
{
    QCoreApplication::processEvents();
}

void WindowFeedback::progressCreate()
{
    if (m_gauge)
        m_gauge->close();
    m_gauge = new TGuageForm(m_mainWindow);
}

bool WindowFeedback::progressIsShown() const
{
    return m_gauge && m_gauge->isVisible();
}

void WindowFeedback::progressClose()
{
    if (!m_gauge)
        return;
    m_gauge->setProgress(0);
    m_gauge->hide();
    m_gauge->close(); // releases it
    m_gauge = nullptr;
}

void WindowFeedback::soundFailed(const QString &message)
{
    if (m_reportedFailures.contains(message))
        return; // a missing error.wav must not add a message to every failure of a run
    m_reportedFailures << message;
    m_pendingFailures << message;
    if (!m_messageWindow || !m_messageWindow->isVisible())
        showPendingFailures();
}

void WindowFeedback::showPendingFailures()
{
    while (!m_pendingFailures.isEmpty() && m_messageWindow && !m_messageWindow->isVisible())
        m_messageWindow->showMessage(m_pendingFailures.takeFirst());
}

TGuageForm *WindowFeedback::gauge()
{
    if (!m_gauge)
        progressCreate();
    return m_gauge;
}
