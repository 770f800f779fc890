// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "console/ConsoleProgress.h"
#include "generator/GenerationUi.h"

#include <cstdio>
#include <functional>
#include <memory>

class PageOptions;

// How a console run speaks besides its two streams.
struct ConsoleSettings {
    QString programName;       // put with ": " before every line of the error stream
    bool progressLine = false; // the error stream is a terminal that shows a progress line
};

// The generation run's questions answered on a console, for the command-line maker: no name
// dialog (the options are taken as they are), no viewer, no preview, no sounds. Messages go to
// the output stream; errors, warnings, stops without a page and problems with single files to the error
// stream, each on one line with its control characters escaped; an existing page is replaced only when
// the caller said so, and a folder another run holds is not waited for.
class ConsoleUi final : public GenerationUi
{
public:
    ConsoleUi(const PageOptions &options, bool overwrite, std::FILE *out = stdout, std::FILE *err = stderr,
              const ConsoleSettings &settings = {});
    ~ConsoleUi() override;

    // What marking the file list's first row means here (re-reading the folder, say); nothing by default.
    void setSelectFirstRow(std::function<void()> select) { m_selectFirstRow = std::move(select); }

    NameDialogAnswer askPageName() override;
    void showWarningBox(const QString &text) override;
    bool confirmOverwrite(const QString &text, const std::function<QString()> &write) override;
    void selectFirstFileListRow() override;
    void hideViewer() override {}
    void createHiddenViewer() override {}
    void closeViewer() override {}
    void progressCreate() override;
    bool progressIsShown() const override { return m_progressShown; }
    void progressClose() override;
    void preview() override {}

    void progressSetMaximum(int maximum) override;
    void progressShow() override { m_progressShown = true; }
    void progressStep() override;
    void letEventsRun() override {}
    void showMessage(const QString &text) override;
    void showStop(const QString &text) override; // to the error stream
    void showErrorBox(const QString &text) override;
    void reportProblem(const QString &text) override; // to the error stream
    bool waitsForBusyFolder() const override { return false; }
    void playSound(const QString &) override {}

private:
    void printLine(std::FILE *stream, const QString &text);
    void printError(const QString &text);                   // escaped, after the program's name
    void writeLine(std::FILE *stream, const QString &text); // as it is, stepping round the progress line

    const PageOptions &m_options;
    bool m_overwrite;
    std::FILE *m_out;
    std::FILE *m_err;
    QString m_errorPrefix;
    std::unique_ptr<ConsoleProgress> m_progress; // only on a terminal
    std::function<void()> m_selectFirstRow;
    bool m_progressShown = false;
};
