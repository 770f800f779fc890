// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "media/PictureLimits.h"
#include "media/RgbImage.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// Every use of libjpeg lives behind these calls: errors come back as text, never end the process.

class DecodeBudget;
class SrgbTransform;

struct JpegLimits {
    qint64 maxPixels = MaxPicturePixels; // declared width x height
    int maxScans = 100;             // progressive scans
    long maxMemory = 1L << 30;      // libjpeg's working memory
    int maxWarnings = 1000;         // corrupt-data warnings before giving up
    int maxCpuMilliseconds = 10'000; // the decoding thread's CPU time: waiting for a busy CPU does not count
    DecodeBudget *budget = nullptr;  // shared with other decoders: waits for room for what the picture needs
};

// The memory libjpeg and its caller need to decode a picture of this layout, in bytes: progressive and
// multi-scan pictures keep every coefficient of the whole picture.
qint64 jpegDecodeMemory(qint64 width, qint64 height, int components, bool wholeImageBuffered);

// Chooses the DCT scaling for a picture once its stored size is known. Never throws.
class JpegScalePlanner
{
public:
    virtual ~JpegScalePlanner() = default;
    // Returns the denominator 1, 2, 4 or 8 (scale 1/d); the decoder then delivers ceil(size / d) pixels.
    virtual int scaleDenominator(int storedWidth, int storedHeight) noexcept = 0;
};

struct JpegDecodeResult {
    bool ok = false;
    int warnings = 0; // corrupt-data warnings (a cut-short picture still decodes)
    QString error;
    qint64 reservedBytes = 0; // what was taken from the budget while decoding
    bool endedEarly = false;  // the file ended before the picture's last scan (the rest is grey)
};

// Decodes a JPEG held in memory into true-colour rows (grayscale, RGB, CMYK and Adobe/YCCK alike),
// scaled on load as the planner asks, within the limits. CMYK rows go through cmykProfile when given (a
// CMYK transform, fed plain inks: Adobe's inverted ones are turned back first), else through the
// simple ink multiplication browsers use for CMYK without a profile. With a profile, a sink whose
// beginInks accepts gets the plain inks instead and converts them itself.
JpegDecodeResult decodeJpeg(const uint8_t *data, size_t size, JpegScalePlanner &planner, RgbRowSink &sink,
                            const JpegLimits &limits = {}, const SrgbTransform *cmykProfile = nullptr);

// Encodes as a baseline 24-bit JPEG with libjpeg's defaults at the given quality, with comment (when
// not empty) as a comment segment right after the header. Empty on failure.
QByteArray encodeJpeg(const RgbImage &image, int quality, QString *error = nullptr,
                      const QByteArray &comment = {});
