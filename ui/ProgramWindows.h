// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/SoundPlayer.h"
#include "ui/AVIGrabber.h"
#include "ui/NameOverWrite.h"
#include "ui/NameOverWrite2.h"
#include "ui/NameWebPage.h"
#include "ui/Picklist.h"
#include "ui/Scanner.h"
#include "ui/ScannerPickListHost.h"
#include "ui/Settings.h"
#include "ui/WindowFeedback.h"
#include "ui/WindowGenerationUi.h"
#include "ui/prompt2.h"
#include "ui/splash.h"

#include <memory>

class GenerationRun;
class PageOptions;

// The windows that live for the whole run of the program, created once and hidden in their fixed
// order, and wired to each other: the main window, the Options window, the name dialog, the About
// window, the frame grabber, the message window, the two overwrite dialogs and the pick list
// window, with the one sound player and the generation run behind the Create button.
class ProgramWindows final
{
    Q_DISABLE_COPY_MOVE(ProgramWindows)

public:
    explicit ProgramWindows(PageOptions &options);
    ~ProgramWindows();

    TMainForm &mainForm() { return m_mainForm; }
    TSettingsForm &settingsForm() { return m_settings; }
    TPickListForm &pickListForm() { return m_pickList; }
    TAVIForm &grabberForm() { return m_grabber; }
    TPrompt2Form &messageWindow() { return m_prompt; }
    GenerationRun &run() { return *m_run; }
    SoundPlayer &playwave2() { return m_playwave2; }

    // The start-up splash, shown modally; it closes after 4 s or at the first click.
    void showStartSplash();

private:
    void wire();

    SoundPlayer m_playwave2;
    TMainForm m_mainForm;
    TSettingsForm m_settings;
    TNameitForm m_nameit;
    TSplashForm m_about;
    TAVIForm m_grabber;
    TPrompt2Form m_prompt;
    TNameOver m_nameOver;
    TNameOver2 m_nameOver2;
    TPickListForm m_pickList;
    WindowFeedback m_feedback;
    WindowGenerationUi m_runUi;
    ScannerPickListHost m_pickListHost;
    std::unique_ptr<GenerationRun> m_run;
};
