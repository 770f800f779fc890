// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/ListingPorts.h"
#include "generator/RunFeedback.h"
#include "ui/guager.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class QWidget;
class SoundPlayer;
class TPrompt2Form;

// Messages, progress and sounds for the rest of the program, shown in our own windows: the one
// message window, a progress window per run placed beside the main window, and the sound player,
// whose failures it turns into messages (each distinct failure once, after any message showing).
class WindowFeedback final : public QObject, public RunFeedback, public MessagePort
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WindowFeedback)

public:
    // None of the windows is owned. sounds may be null (silent).
    WindowFeedback(QWidget *mainWindow, TPrompt2Form *messageWindow, SoundPlayer *sounds,
                   QObject *parent = nullptr);
    ~WindowFeedback() override;

    // RunFeedback and MessagePort. A message asked for while another is up replaces its text and
    // returns when the window closes: the window never shows two texts at once.
    void showMessage(const QString &text) override;
    void showMessageLines(const QStringList &lines) override;
    void showErrorBox(const QString &text) override;
    void playSound(const QString &fileName) override;
    void progressSetMaximum(int maximum) override;
    void progressShow() override;
    void progressStep() override;
    void letEventsRun() override;

    // The rest of the progress window's life, as the generation run asks for it.
    void progressCreate(); // a fresh window at 0, not shown
    bool progressIsShown() const;
    void progressClose(); // set to 0, hidden, released
    TGuageForm *progressWindow() const { return m_gauge; }

private:
    void showEscaped(const QString &text); // the message window, modally
    void soundFailed(const QString &message);
    void showPendingFailures();
    TGuageForm *gauge();

    QPointer<QWidget> m_mainWindow;
    QPointer<TPrompt2Form> m_messageWindow;
    QPointer<SoundPlayer> m_sounds;
    QPointer<TGuageForm> m_gauge;
    QStringList m_reportedFailures;
    QStringList m_pendingFailures;
};
