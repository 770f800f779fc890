// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QMetaType>
#include <QSize>
#include <QString>

// Real JPEG pictures for the thumbnail tests, written with libjpeg the way cameras and editors write them.
namespace ThumbFixtures
{

enum class Colour { Rgb, Gray, Cmyk, AdobeCmyk, AdobeYcck };

struct Jpeg {
    int orientation = 1; // EXIF orientation: the picture is stored turned so that it shows as given
    Colour colour = Colour::Rgb;
    bool progressive = false;
    bool arithmetic = false;
    int restartRows = 0; // a restart marker every this many MCU rows
    int quality = 95;
    bool bigEndianExif = true;
    QByteArray iccProfile{};   // embedded in APP2 "ICC_PROFILE" chunks
    int iccChunkBytes = 0;     // the profile's bytes per chunk; 0: as few chunks as fit
    bool exifAdobeRgb = false; // EXIF ColorSpace uncalibrated with the interoperability index "R03"
};

// The JPEG bytes of a picture that shows as `displayed`.
QByteArray jpeg(const QImage &displayed, const Jpeg &how = {});
bool writeJpeg(const QString &path, const QImage &displayed, const Jpeg &how = {});
bool writeFile(const QString &path, const QByteArray &data);
QByteArray readFile(const QString &path);

// A picture with a red top edge, a green left edge, a blue right edge and a white bottom edge on grey.
QImage edgePicture(QSize size);
// A picture of one colour.
QImage solidPicture(QSize size, QColor colour);
// Smooth colour gradients with some texture: compresses like a photo.
QImage photoPicture(QSize size);

// Bombs: a header declaring width x height over a few bytes of data; a progressive picture whose last
// scan is repeated `scans` times.
QByteArray declaredSizeBomb(int width, int height);
QByteArray scanBomb(int scans);

// What the thumbnail file is: the frame kind and the first luminance quantisation value.
struct JpegFacts {
    bool baseline = false;
    int components = 0;
    int precision = 0;
    int firstLumaQuant = -1;
    QSize size;
};
JpegFacts facts(const QByteArray &jpeg);

// The mean colour of a rectangle of a picture.
QColor meanColour(const QImage &image, const QRect &area);

} // namespace ThumbFixtures

Q_DECLARE_METATYPE(ThumbFixtures::Jpeg)
