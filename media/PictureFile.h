// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

// What a picture file was when it was read. Besides the size and the modification time, which copying
// and unpacking tools set back, the change time and the inode number, which no tool can: a file
// replaced or edited in place shows a new one of the two whatever its modification time says.
struct PictureStamp {
    qint64 bytes = 0;
    qint64 mtimeNs = 0; // modification time, nanoseconds since the epoch
    qint64 ctimeNs = 0; // change time (of the inode), the same way
    quint64 inode = 0;
    QByteArray name; // the file's own name, as its bytes on the disk
};

// The stamp of an open file named name.
PictureStamp pictureStampOf(const struct stat &st, const QByteArray &name);

// Reads a whole picture file once, into memory: regular files only (never a device, FIFO or folder,
// even behind a link), at most maxBytes. Sets error (naming the reason) and returns empty on failure.
// stamp, when given, receives the file's stamp.
QByteArray readPictureFile(const QString &path, qint64 maxBytes, QString *error,
                           PictureStamp *stamp = nullptr);

constexpr qint64 kMaxPictureFileBytes = 256LL * 1024 * 1024;
