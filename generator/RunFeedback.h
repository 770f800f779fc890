// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

// What the page builder, the thumbnail maker and the generation run need of the windows while they
// work: the progress window, letting pending window events run, messages and sounds. The windows
// implement it; tests and the command-line maker script it.
class RunFeedback
{
public:
    virtual ~RunFeedback() = default;

    // The progress window of the current step.
    virtual void progressSetMaximum(int maximum) = 0;
    virtual void progressShow() = 0;
    virtual void progressStep() = 0; // advance by one

    // Lets pending window events run (the user may act between files).
    virtual void letEventsRun() = 0;

    // The message window: shows text and returns once the user has closed it.
    virtual void showMessage(const QString &text) = 0;
    // A problem with one file while the run goes on: the message window here, standard error on a
    // console.
    virtual void reportProblem(const QString &text) { showMessage(text); }
    // A plain message box of the platform with an OK button; returns once closed.
    virtual void showErrorBox(const QString &text) = 0;
    // Plays a sound of the program's data folder ("error.wav"); returns at once.
    virtual void playSound(const QString &fileName) = 0;
};

// Feedback that shows nothing and lets nothing run: for tests and batch work that need none.
class SilentFeedback : public RunFeedback
{
public:
    void progressSetMaximum(int) override {}
    void progressShow() override {}
    void progressStep() override {}
    void letEventsRun() override {}
    void showMessage(const QString &) override {}
    void showErrorBox(const QString &) override {}
    void playSound(const QString &) override {}
};
