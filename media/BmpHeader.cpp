// SPDX-License-Identifier: GPL-2.0-or-later
#include "media/BmpHeader.h"

#include <QtEndian>

#include <limits>

namespace
{

constexpr qsizetype kFileHeader = 14;
constexpr quint32 kBitFields = 3;
constexpr quint32 kAlphaBitFields = 6;

BmpHeader failure(const QString &why)
{
    BmpHeader header;
    header.error = why;
    return header;
}

quint16 u16(QByteArrayView data, qsizetype at)
{
    return qFromLittleEndian<quint16>(data.data() + at);
}

quint32 u32(QByteArrayView data, qsizetype at)
{
    return qFromLittleEndian<quint32>(data.data() + at);
}

// 16 bits per pixel hold 5-5-5 (15 colour bits) unless the masks give green six bits.
int sixteenBitDepth(QByteArrayView data, quint32 compression)
{
    if (compression != kBitFields && compression != kAlphaBitFields)
        return 15;
    const qsizetype masks = kFileHeader + 40; // after a V3 header, or inside a V4/V5 one
    if (data.size() < masks + 8)
        return 0;
    const quint32 red = u32(data, masks);
    const quint32 green = u32(data, masks + 4);
    if (red == 0x7C00 && green == 0x03E0)
        return 15;
    if (red == 0xF800 && green == 0x07E0)
        return 16;
    return 0;
}

} // namespace

BmpHeader readBmpHeader(QByteArrayView data)
{
    if (data.size() < 2 || data[0] != 'B' || data[1] != 'M')
        return failure(QStringLiteral("not a bitmap file"));
    if (data.size() < kFileHeader + 12)
        return failure(QStringLiteral("bitmap header cut short"));
    const quint32 infoSize = u32(data, kFileHeader);
    BmpHeader header;
    qint64 width = 0;
    qint64 height = 0;
    int bits = 0;
    quint32 compression = 0;
    if (infoSize == 12) { // OS/2 core header
        width = u16(data, kFileHeader + 4);
        height = u16(data, kFileHeader + 6);
        bits = u16(data, kFileHeader + 10);
    } else if (infoSize >= 40 && infoSize <= 1024) {
        if (data.size() < kFileHeader + 40)
            return failure(QStringLiteral("bitmap header cut short"));
        width = qint32(u32(data, kFileHeader + 4));
        height = qint32(u32(data, kFileHeader + 8));
        bits = u16(data, kFileHeader + 14);
        compression = u32(data, kFileHeader + 16);
    } else {
        return failure(QStringLiteral("unknown bitmap header of %1 bytes").arg(infoSize));
    }
    height = qAbs(height); // top-down rows; INT_MIN turns into a height no int holds, refused below
    if (width <= 0 || height <= 0 || width > std::numeric_limits<int>::max() ||
        height > std::numeric_limits<int>::max())
        return failure(QStringLiteral("invalid size %1x%2").arg(width).arg(height));
    // Uncompressed rows must all be there: a reader would otherwise show made-up pixels.
    const bool uncompressed = compression == 0 || compression == kBitFields || compression == kAlphaBitFields;
    if (uncompressed && bits > 0 && bits <= 32) {
        const qint64 stride = (width * bits + 31) / 32 * 4;
        const qint64 offset = u32(data, 10);
        qint64 rows = 0;
        if (__builtin_mul_overflow(stride, height, &rows) || offset > data.size() || rows > data.size() - offset)
            return failure(QStringLiteral("bitmap data cut short"));
    }
    header.ok = true;
    header.width = int(width);
    header.height = int(height);
    switch (bits) {
    case 1:
    case 4:
    case 8:
    case 24:
    case 32:
        header.bitsPerPixel = bits;
        break;
    case 16:
        header.bitsPerPixel = sixteenBitDepth(data, compression);
        break;
    default:
        header.bitsPerPixel = 0;
    }
    return header;
}

qint64 bmpColourCount(int bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 15:
    case 16:
    case 24:
        return qint64(1) << bitsPerPixel;
    case 32:
        return qint64(1) << 24;
    default:
        return 0;
    }
}
