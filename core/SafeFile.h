#pragma once

#include <QByteArray>
#include <QString>

// Writing files so that nothing of the user's is lost: a write either completes in full or leaves
// what was there before, and nothing is written through a symbolic link planted at the name.
namespace SafeFile {

enum class Replace {
    Never,           // fail when anything (file, folder, link) already has the name
    RegularFileOnly, // replace an earlier regular file of the name; refuse links, folders, devices
};

// Writes data to a fresh file beside path, checks every byte reached the disk, then moves it into
// place. Returns an empty text on success, otherwise the reason (the old file stays whole).
QString writeAtomically(const QString &path, const QByteArray &data, Replace mode);

// Copies a file to a name that must not exist yet; never replaces and never follows a link there.
// Returns an empty text on success, otherwise the reason.
QString copyNoReplace(const QString &from, const QString &to);

// True when path names a regular file itself (a symbolic link does not count).
bool isRegularFileNoFollow(const QString &path);

} // namespace SafeFile
