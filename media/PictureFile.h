#pragma once

#include <QByteArray>
#include <QString>

// What a picture file was when it was read.
struct PictureStamp {
    qint64 bytes = 0;
    qint64 mtimeNs = 0; // modification time, nanoseconds since the epoch
};

// Reads a whole picture file once, into memory: regular files only (never a device, FIFO or folder,
// even behind a link), at most maxBytes. Sets error (naming the reason) and returns empty on failure.
// stamp, when given, receives the file's size and modification time.
QByteArray readPictureFile(const QString &path, qint64 maxBytes, QString *error,
                           PictureStamp *stamp = nullptr);

constexpr qint64 kMaxPictureFileBytes = 256LL * 1024 * 1024;
