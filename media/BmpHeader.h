// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

// What a bitmap file's own header says, read before any pixel is decoded: QImage reports the depth
// after its own conversion, never the file's.
struct BmpHeader {
    bool ok = false;
    int width = 0;
    int height = 0;       // positive whether the rows are stored top-down or bottom-up
    int bitsPerPixel = 0; // 1, 4, 8, 15 (16-bit 5-5-5), 16 (5-6-5), 24 or 32; 0 when outside that table
    QString error;
};

// Reads the file header and the info header (core, V3, V4 and V5 forms). Never reads past data.
BmpHeader readBmpHeader(QByteArrayView data);

// The colour count the viewer shows for a depth: 2^depth, with a 32-bit bitmap counted as its
// 24 colour bits (the rest is alpha or padding); 0 for a depth outside the table.
qint64 bmpColourCount(int bitsPerPixel);
