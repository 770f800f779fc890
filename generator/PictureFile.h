#pragma once

#include <QByteArray>
#include <QString>

// Reads a whole picture file once, into memory: regular files only (never a device, FIFO or folder,
// even behind a link), at most maxBytes. Sets error (naming the reason) and returns empty on failure.
QByteArray readPictureFile(const QString &path, qint64 maxBytes, QString *error);

constexpr qint64 kMaxPictureFileBytes = 256LL * 1024 * 1024;
