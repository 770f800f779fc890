// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// A whole JPEG file decoded at its full size and turned upright as its EXIF orientation says, by the
// program's one JPEG decoder (grayscale, RGB and CMYK alike), within the decoder's limits, its colours
// turned into sRGB through its embedded colour profile (or EXIF Adobe RGB) when it has one.
// A null image with error set on failure, also for a file that ends before the picture does.
QImage decodeJpegPicture(const QByteArray &file, QString *error);

// The same, decoded at the smallest DCT scale (1/2, 1/4 or 1/8) that still covers the size the upright
// picture takes when fitted into box, keeping its proportions; a picture that fits is decoded whole.
// fullSize, when given, receives the picture's own upright size.
QImage decodeJpegPictureToCover(const QByteArray &file, const QSize &box, QString *error, QSize *fullSize);
