#pragma once

#include <QString>

// Opens a document with the user's default program for it, without waiting for that program.
// The main window's preview goes through this, so tests can see what would be opened.
class UrlOpener
{
public:
    virtual ~UrlOpener() = default;
    // filePath: an existing local file. workingFolder: the folder the launched program starts in;
    // empty for the process's current folder. False when no launcher could be started.
    virtual bool openFile(const QString &filePath, const QString &workingFolder) = 0;
};

// The desktop's own opener (xdg-open behind QDesktopServices).
class DesktopUrlOpener final : public UrlOpener
{
public:
    bool openFile(const QString &filePath, const QString &workingFolder) override;
};
