// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Writing files so that nothing of the user's is lost: a write either completes in full or leaves
// what was there before, and nothing is written through a symbolic link planted at the name.
namespace SafeFile
{

enum class Replace {
    Never,            // fail when anything (file, folder, link) already has the name
    RegularFileOnly,  // replace an earlier regular file of the name, keeping its mode; refuse links,
                      // folders, devices
    RegularFileAsNew, // the same, but the file gets the mode of a new file
};

enum class Durability {
    Synced,      // every byte is on the disk before the file takes its name (pages, lists)
    Regenerable, // not flushed: after a crash the file may be empty, never a mix of old and new bytes.
                 // For files the program can make again (thumbnails).
};

// Writes data to an unnamed file in path's folder (or, where the file system has none, a hidden one
// named with TemporaryMark), checks every byte was written (and, when Synced, reached the disk), then links
// it in place. Returns an empty text on success, otherwise the reason (the old file stays whole).
QString writeAtomically(const QString &path, const QByteArray &data, Replace mode,
                        Durability durability = Durability::Synced);

// The start of the hidden temporary names writeAtomically uses (and leaves when the process is killed):
// the mark and 12 letters or digits. Its writer holds a lock on the file for as long as the name lives.
inline constexpr char TemporaryMark[] = ".tessaloom~unfinished~";

// Removes the temporary files a killed writer left in folder: regular files named exactly as ours, not
// touched for a minute, that no living writer holds locked. A file of any other name is never touched.
// Returns how many went.
int removeStaleTemporaries(const QString &folder);

// The mode a file created now gets (0666 less the process's umask).
unsigned newFileMode();

// Copies a file to a name that must not exist yet; never replaces and never follows a link there.
// Returns an empty text on success, otherwise the reason.
QString copyNoReplace(const QString &from, const QString &to);

// True when path names a regular file itself (a symbolic link does not count).
bool isRegularFileNoFollow(const QString &path);

} // namespace SafeFile
