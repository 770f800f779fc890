// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "generator/GenerationUi.h"

class PageOptions;
class TMainForm;
class TNameOver;
class TNameitForm;
class WindowFeedback;

// The generation run's questions answered by the program's windows: the name and overwrite dialogs,
// the message and progress windows, the sounds, the main window's file list, viewer and preview.
class WindowGenerationUi final : public GenerationUi
{
public:
    WindowGenerationUi(TMainForm &mainForm, WindowFeedback &feedback, TNameitForm &nameDialog,
                       TNameOver &overwriteDialog);

    void progressSetMaximum(int maximum) override;
    void progressShow() override;
    void progressStep() override;
    void letEventsRun() override;
    void showMessage(const QString &text) override;
    void showErrorBox(const QString &text) override;
    void playSound(const QString &fileName) override;

    NameDialogAnswer askPageName() override;
    void showWarningBox(const QString &text) override;
    bool confirmOverwrite(const QString &text, const std::function<QString()> &write) override;
    void selectFirstFileListRow() override;
    void hideViewer() override;
    void createHiddenViewer() override;
    void closeViewer() override;
    void progressCreate() override;
    bool progressIsShown() const override;
    void progressClose() override;
    void preview() override;
    bool askMakeMoviePictures(int missing) override;
    int makeMoviePictures(const QStringList &movies) override;

private:
    TMainForm &m_mainForm;
    WindowFeedback &m_feedback;
    TNameitForm &m_nameDialog;
    TNameOver &m_overwriteDialog;
};
