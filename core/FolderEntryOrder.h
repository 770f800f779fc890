// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/FolderListing.h"

#include <Qt>

// The file list's columns, in the order it shows them.
enum FileListColumn { NameColumn, SizeColumn, TypeColumn, DateColumn, FileListColumnCount };

// The type the list shows for a file: its extension in upper case and " File" ("JPG File"), or "File".
QString fileTypeText(const QString &name);

// Orders the entries by one column; equal values fall back to the name order of NaturalOrder, so the
// order is total and descending is exactly ascending reversed.
void sortFolderEntries(QList<FolderEntry> &entries, int column, Qt::SortOrder order);
