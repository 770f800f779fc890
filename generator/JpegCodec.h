#pragma once

#include "generator/RgbImage.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// Every use of libjpeg lives behind these calls: errors come back as text, never end the process.

struct JpegLimits {
    qint64 maxPixels = 100'000'000; // declared width x height
    int maxScans = 100;             // progressive scans
    long maxMemory = 1L << 30;      // libjpeg's working memory
    int maxWarnings = 1000;         // corrupt-data warnings before giving up
    int maxMilliseconds = 10'000;   // wall time of one decode
};

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
};

// Decodes a JPEG held in memory into true-colour rows (grayscale, RGB, CMYK and Adobe/YCCK alike),
// scaled on load as the planner asks, within the limits.
JpegDecodeResult decodeJpeg(const uint8_t *data, size_t size, JpegScalePlanner &planner, RgbRowSink &sink,
                            const JpegLimits &limits = {});

// Encodes as a baseline 24-bit JPEG with libjpeg's defaults at the given quality. Empty on failure.
QByteArray encodeJpeg(const RgbImage &image, int quality, QString *error = nullptr);
