#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// A whole JPEG file decoded at its full size and turned upright as its EXIF orientation says, by the
// program's one JPEG decoder (grayscale, RGB and CMYK alike), within the decoder's limits, its colours
// turned into sRGB through its embedded colour profile (or EXIF Adobe RGB) when it has one.
// A null image with error set on failure.
QImage decodeJpegPicture(const QByteArray &file, QString *error);
