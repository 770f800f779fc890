// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "media/PictureLimits.h"

#include <QByteArrayView>
#include <QString>

// What the viewer reports of a GIF, read from the file's own blocks with giflib, without decoding
// a single pixel: the logical screen, the global colour table and the frames.
struct GifInfo {
    bool ok = false;
    int width = 0; // the logical screen
    int height = 0;
    int globalColours = 0; // entries of the global colour table; 0 when it has none
    int backgroundIndex = 0;
    quint32 backgroundRgb = 0; // 0xRRGGBB of the background entry; 0 without a global table
    int frames = 0;
    QString error;
};

// Refusals before the animation is decoded: the pixels of the screen, the frame count and the
// pixels of all frames together (each is decompressed once per loop).
struct GifLimits {
    qint64 maxScreenPixels = MaxPicturePixels;
    int maxFrames = 1000;
    qint64 maxTotalFramePixels = 1'000'000'000;
};

GifInfo readGifInfo(QByteArrayView data, const GifLimits &limits = {});
