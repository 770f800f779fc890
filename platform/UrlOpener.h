// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

#include <functional>

// Opens a document with the user's default program for it, without waiting for that program.
// The main window's preview goes through this, so tests can see what would be opened.
class UrlOpener
{
public:
    // Called on the caller's thread when the launcher, started fine, reports that no program could
    // open the document (no browser installed, say).
    using FailedLater = std::function<void()>;

    virtual ~UrlOpener() = default;
    // filePath: an existing local file. workingFolder: the folder the launched program starts in;
    // empty for the process's current folder. False when no launcher could be started.
    virtual bool openFile(const QString &filePath, const QString &workingFolder,
                          FailedLater failedLater = {}) = 0;
};

// The desktop's own opener: xdg-open, the launcher QDesktopServices uses on this desktop, started
// directly so that its verdict is heard instead of ending on the terminal.
class DesktopUrlOpener final : public UrlOpener
{
public:
    bool openFile(const QString &filePath, const QString &workingFolder,
                  FailedLater failedLater = {}) override;
};
