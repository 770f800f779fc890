// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/ListingPorts.h"
#include "generator/GenerationUi.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class PageOptions;

// Fixtures of the generation run's tests: a scripted GenerationUi that records every call, a pick
// list, media files made in code and a tmpfs mounted for a test.

class RunPickList : public PickListPort
{
public:
    QStringList entries;
    void appendFile(const QString &name) override { entries.append(name); }
    int fileCount() const override { return int(entries.size()); }
    QStringList lines() const override { return entries; }
};

// Answers the run's questions from a script and logs every call as "call" or "call:text".
class RunScriptUi : public GenerationUi
{
public:
    enum class OverwriteAnswer { Ok, Cancel };

    explicit RunScriptUi(const PageOptions &options) : m_options(options) {}

    QStringList log;
    QStringList messages, errorBoxes, warnings, sounds, overwriteTexts, overwriteErrors;
    // The name dialog: by default OK with the options' own texts, as the dialog shows them.
    std::function<NameDialogAnswer()> nameDialog;
    OverwriteAnswer overwriteAnswer = OverwriteAnswer::Cancel;
    std::function<void()> onSelectFirstRow;
    std::function<void()> onLetEventsRun;

    // True when the calls appear in the log in this order (others may come between).
    bool calledInOrder(const QStringList &calls) const;
    int count(const QString &call) const;

    NameDialogAnswer askPageName() override;
    void showWarningBox(const QString &text) override;
    bool confirmOverwrite(const QString &text, const std::function<QString()> &write) override;
    void selectFirstFileListRow() override;
    void hideViewer() override { log << QStringLiteral("hideViewer"); }
    void createHiddenViewer() override { log << QStringLiteral("createHiddenViewer"); }
    void closeViewer() override { log << QStringLiteral("closeViewer"); }
    void progressCreate() override;
    bool progressIsShown() const override { return m_progressShown; }
    void progressClose() override;
    void preview() override { log << QStringLiteral("preview"); }
    void progressSetMaximum(int maximum) override;
    void progressShow() override;
    void progressStep() override { log << QStringLiteral("progressStep"); }
    void letEventsRun() override;
    void showMessage(const QString &text) override;
    void showErrorBox(const QString &text) override;
    void playSound(const QString &fileName) override;

private:
    const PageOptions &m_options;
    bool m_progressShown = false;
};

// Media made in code.
bool runWriteJpeg(const QString &path, int width, int height);
bool runWriteGif(const QString &path); // a 1 by 1 GIF89a
bool runWriteBytes(const QString &path, const QByteArray &bytes);
QByteArray runReadBytes(const QString &path);
// Names in the folder (hidden ones too), sorted.
QStringList runFolderNames(const QString &folder);

// A tmpfs mounted on a folder for the length of a test (root only); unmounted when it goes.
class RunTmpfs
{
public:
    RunTmpfs(const QString &folder, const QString &options);
    ~RunTmpfs();
    RunTmpfs(const RunTmpfs &) = delete;
    RunTmpfs &operator=(const RunTmpfs &) = delete;
    bool isMounted() const { return m_mounted; }
    QString error() const { return m_error; }
    bool remountReadOnly();
    // Writes until the file system refuses more; true when it ended full.
    bool fill(const QString &fileName);

    static bool runningAsRoot();

private:
    QString m_folder;
    bool m_mounted = false;
    QString m_error;
};
