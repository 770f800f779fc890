// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// What a JPEG file says about its colours, read from the segments before its first scan. Every offset
// is checked against the size: the bytes are untrusted.
struct JpegColourTags {
    int components = 0;        // of the frame: 1 gray, 3 RGB (YCbCr), 4 CMYK (YCCK); 0 when none was read
    QByteArray iccProfile;     // the embedded ICC profile, its APP2 "ICC_PROFILE" chunks joined in order
    QString iccProblem;        // why chunks that are there could not be joined; the profile is then empty
    bool exifAdobeRgb = false; // EXIF ColorSpace "uncalibrated" with the interoperability index "R03"
};

JpegColourTags readJpegColourTags(const std::uint8_t *data, std::size_t size);

// The EXIF test alone, over the body of an APP1 segment ("Exif\0\0" and its TIFF structure).
bool exifSaysAdobeRgb(const std::uint8_t *app1, std::size_t size);
