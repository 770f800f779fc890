// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// What the listing logic needs of the main window's file list and of the windows it feeds.
// The windows implement these; tests script them.

class FileListRows
{
public:
    virtual ~FileListRows() = default;
    // A mask string different from the current one re-reads the folder before returning.
    virtual void setMaskString(const QString &masks) = 0;
    virtual int rowCount() const = 0;
    virtual QString rowPath(int row) const = 0; // full path of the row's file
    // The bare name of the row's file: the part of its path after the last separator.
    virtual QString rowName(int row) const
    {
        const QString path = rowPath(row);
        return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    }
    virtual int selectedRow() const = 0; // the first selected row, or -1
    virtual bool rowIsFile(int row) const = 0;
};

class ViewerPort
{
public:
    virtual ~ViewerPort() = default;
    virtual void showFile(const QString &bareName) = 0; // opened relative to the current folder
};

class PickListPort
{
public:
    virtual ~PickListPort() = default;
    virtual void appendFile(const QString &bareName) = 0;
    virtual int fileCount() const = 0;
    virtual QStringList lines() const = 0; // the list as shown, one name a line
};

class MessagePort
{
public:
    virtual ~MessagePort() = default;
    virtual void showMessage(const QString &text) = 0; // modal; returns once closed
    // A message of several lines, each on a line of its own; a line's own control characters (a
    // name's line break) are no line breaks.
    virtual void showMessageLines(const QStringList &lines) { showMessage(lines.join(QLatin1Char('\n'))); }
};
