// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// Takes the spaces out of the names of the listed files of a folder. A rename never replaces a
// file: a name that is taken already, or a file that cannot be renamed, is reported and the next
// entry is tried.
struct RenameFailure {
    QString oldName;
    QString newName;
    QString reason;
};

struct RemoveSpacesResult {
    int renamed = 0;
    QList<RenameFailure> failures;
};

// "my photo.jpg" -> "myphoto.jpg": every space (code 32) removed, all else kept in order.
QString WithoutSpaces(const QString &name);

// Renames each entry of the working list that holds a space, first to last.
RemoveSpacesResult RemoveSpacesFromFileNames(const QString &folder, const QStringList &FileListBox);

// The message the command shows afterwards, as its lines: the closing sentence when all went well,
// otherwise a report that names every file left as it was, one a line.
QStringList RemoveSpacesMessage(const QString &folder, const RemoveSpacesResult &result);
