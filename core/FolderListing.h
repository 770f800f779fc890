// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The files of one folder that a kind's masks select, as the file list shows them.
struct FolderListing {
    QStringList names;       // bare names in natural order
    int unreadableNames = 0; // names the system cannot spell back (not valid in its encoding): skipped
    QString error;           // non-empty when the folder could not be read
};

// Regular files only (a symbolic link counts when it leads to a regular file), never folders,
// hidden files, devices or FIFOs; names matched against the mask string regardless of letter case.
FolderListing listFolder(const QString &folder, const QString &maskString);

// One file of a folder with what the file list shows of it.
struct FolderEntry {
    QString name;
    qint64 size = 0;
    qint64 modifiedMs = 0; // last modification, milliseconds since the epoch (UTC)
    quint16 kinds = 0;     // bit k set when the masks of kind k (1 to 8) select the file
};

struct FolderEntries {
    QList<FolderEntry> entries; // in the folder's own order
    int unreadableNames = 0;
    QString error;
};

// Every file listFolder would list without a mask, with its size and time, in one pass.
FolderEntries readFolderEntries(const QString &folder);

// The bit of FolderEntry::kinds that stands for the mask string: a kind's own string; else 0.
quint16 kindBitOfMasks(const QString &maskString);
