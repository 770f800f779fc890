// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "generator/RunFeedback.h"

#include <QString>
#include <QStringList>

#include <functional>

// The name dialog's answer; the dialog itself keeps DeleteThumbnail and Previewit in the options.
struct NameDialogAnswer {
    bool cancelled = false; // NameCancelled
    QString counter;        // NameIncrement as the dialog holds it
    QString name;           // WebNameEdit
    QString title;          // TitleEdit
};

// Every question the generation run asks of the windows: the windows implement it, a test scripts
// it, the command-line maker answers it on the console.
class GenerationUi : public RunFeedback
{
public:
    // The name dialog, modal.
    virtual NameDialogAnswer askPageName() = 0;
    // A warning box with an OK button; returns once closed.
    virtual void showWarningBox(const QString &text) = 0;
    // The page overwrite dialog showing text. Its OK runs write(), which returns an empty text on
    // success or the failure; on failure the dialog stays open showing it. True when OK succeeded.
    virtual bool confirmOverwrite(const QString &text, const std::function<QString()> &write) = 0;
    // Marks the file list's first row as selected, which runs its change event.
    virtual void selectFirstFileListRow() = 0;
    // The viewer window: hidden for the rest of a run, created unseen, closed.
    virtual void hideViewer() = 0;
    virtual void createHiddenViewer() = 0;
    virtual void closeViewer() = 0;
    // The progress window: a fresh one at 0 and not shown; closed (set to 0, hidden, released).
    virtual void progressCreate() = 0;
    virtual bool progressIsShown() const = 0;
    virtual void progressClose() = 0;
    // A message that ends the run without a page (no files, a disc that cannot be written): the
    // message window here, the error stream on a console.
    virtual void showStop(const QString &text) { showMessage(text); }
    // Whether a run that finds another run holding its folder waits for it (true) or stops.
    virtual bool waitsForBusyFolder() const { return true; }
    // Opens the page with the user's default program (the preview command).
    virtual void preview() = 0;
    // Before a movie page is written: asks whether to make now the pictures of the movies that have
    // none (missing of them). Where no one can be asked, the page goes on without them.
    virtual bool askMakeMoviePictures(int /*missing*/) { return false; }
    // Makes the pictures of these movies (full paths) from the frame at a tenth of each, never
    // replacing a file at a picture's name; returns how many were made.
    virtual int makeMoviePictures(const QStringList & /*movies*/) { return 0; }
};
