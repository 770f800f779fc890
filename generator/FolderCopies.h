// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

// The copies a run puts into the page folder (the sound picture, the background picture), and the
// path texts they are named by.
namespace FolderCopies
{

// A file path option as the page and the run read it: the chooser wraps a path holding a blank in a
// pair of double quotes, and only that surrounding pair is taken off; a quote inside a name is part of it.
QString unquoted(const QString &pathOption);
// The characters after the last "/" (the whole text when there is none).
QString fileNamePart(const QString &path);
// The folder part of a path: up to its last "/", the root "/" kept; empty when there is no "/".
QString folderPart(const QString &path);

// Copies a regular file into the folder under a name that must be free: never replaces anything and
// never writes through a link planted at the name. Returns an empty text or the reason.
QString copyIn(const QString &source, const QString &target);

// Puts a copy of source at target in place of an older regular file of that name, in one step (the
// old file stays whole until the copy is complete); a free name gets a plain copy, and a link or
// anything else at the name is left alone. Nothing happens when target already is the source
// itself. Returns an empty text or the reason.
QString copyInReplacing(const QString &source, const QString &target);

} // namespace FolderCopies
