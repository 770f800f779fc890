// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/MediaKinds.h"

#include <QString>
#include <QStringList>

#include <optional>

// The pick list's own rules, apart from its window: moving a line by drag and drop, filling it from
// the working list, and the kind a loaded list selects.
namespace PickList {

// The names of a block of lines, with the lines that hold no name (empty, or only blanks and
// control characters) left out. Names themselves are kept exactly, inner and outer blanks included,
// because on this system " a.jpg" and "a.jpg" are two different files.
QStringList namesOf(const QStringList &lines);

// True when the line holds no name: empty, or only blanks and control characters.
bool isBlankLine(const QString &line);

// Where a dragged line lands. selected: the dragged (selected) line, or -1; dropRow: the line under
// the drop point, or -1 when the point lies below the last line; count: the number of lines.
// Returns the index the line takes after the move, or nothing when the drop changes nothing.
std::optional<int> dropTarget(int selected, int dropRow, int count);

// The list after removing line from and inserting it at index to of the shortened list.
QStringList moved(const QStringList &lines, int from, int to);

// The destination row QAbstractItemModel::moveRows wants for that same move (it counts the
// destination before the removal).
int modelDestination(int from, int to);

// The kind a loaded list selects by the extension of its first name, or nothing to keep the kind.
std::optional<MediaKind> kindForFirstName(const QString &name);

} // namespace PickList
