// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The pick list file (".mpf"): the list's folder on the first line, ending in the separator, then
// one bare file name a line, then one empty line; every line ends in CR LF. Reading takes CR, LF or
// CR LF and leaves out lines that hold no name. Errors are returned as texts naming the file.
namespace PickListFile {

inline constexpr qsizetype MaxFileBytes = 1024 * 1024;
inline constexpr qsizetype MaxLineBytes = 4096;
inline constexpr qsizetype MaxNames = 100000;

struct Content {
    QString folderLine; // line 1 as written, with its trailing separator
    QString folder;     // the folder itself: no trailing separator unless it is the root
    QStringList names;
};

struct Loaded {
    QString error; // empty when the list was read
    Content content;
    bool ok() const { return error.isEmpty(); }
};

struct Encoded {
    QString error; // empty when the text was made
    QByteArray bytes;
    bool ok() const { return error.isEmpty(); }
};

// Line 1 for a folder: a root keeps its separator, every other folder gets one appended.
QString folderLine(const QString &folder);
// The folder a line 1 names: the separator that ends it dropped, unless it is the root.
QString folderOfLine(const QString &line);

// Why a name cannot stand in a list: it is blank, holds a line break, a NUL or a separator, or is
// "." or "..". Empty when the name is a bare file name.
QString nameProblem(const QString &name);

// The file text for a folder and its names, or why it cannot be written so that it reads back the same.
Encoded encode(const QString &folder, const QStringList &names);

// The list in a file's bytes; fileName names the file in the error texts. The folder is not checked
// against the disk here.
Loaded parse(const QByteArray &bytes, const QString &fileName);

// Reads and parses a list file and checks that its folder exists.
Loaded load(const QString &path);

// Writes a prepared file text to path atomically (the old file stays whole when anything fails),
// replacing an earlier regular file of that name. Returns an empty text on success, otherwise the reason.
QString write(const QString &path, const QByteArray &text);

// Encodes the list and writes it as write() does.
QString save(const QString &path, const QString &folder, const QStringList &names);

} // namespace PickListFile
