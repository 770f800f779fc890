// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

// A picture's natural size as a browser shows it, read from its header only. Reading a header costs
// the same whatever the size it declares, so no size is refused here: only decoding has a pixel limit.
struct PictureSize {
    bool ok = false;
    int width = 0;
    int height = 0;
    QString error; // names the file when !ok
};

PictureSize measureJpeg(const QString &path); // EXIF orientations 5 to 8 give the displayed (swapped) size
PictureSize measureGif(const QString &path);  // the logical screen

// The same from bytes already in memory; name only labels the error. The fuzz targets call these.
PictureSize measureJpegData(QByteArrayView data, const QString &name);
PictureSize measureGifData(QByteArrayView data, const QString &name);
