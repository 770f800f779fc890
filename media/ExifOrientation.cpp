// SPDX-License-Identifier: GPL-2.0-or-later
#include "media/ExifOrientation.h"

#include "media/TiffReader.h"

#include <cstring>

namespace {

constexpr std::uint32_t kOrientationTag = 0x0112;
constexpr std::uint32_t kTypeShort = 3;

} // namespace

int exifOrientation(const std::uint8_t *app1, std::size_t size)
{
    static const char kExifId[6] = {'E', 'x', 'i', 'f', 0, 0};
    if (size < 6 + 8 || std::memcmp(app1, kExifId, 6) != 0)
        return 0;
    TiffReader tiff{app1 + 6, size - 6, false};
    if (tiff.data[0] == 'M' && tiff.data[1] == 'M')
        tiff.bigEndian = true;
    else if (!(tiff.data[0] == 'I' && tiff.data[1] == 'I'))
        return 0;
    if (tiff.u16(2) != 42)
        return 0;
    const std::size_t ifd = tiff.u32(4);
    if (!tiff.has(ifd, 2))
        return 0;
    const std::size_t entries = tiff.u16(ifd);
    for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t entry = ifd + 2 + i * 12;
        if (!tiff.has(entry, 12))
            return 0;
        if (tiff.u16(entry) != kOrientationTag)
            continue;
        if (tiff.u16(entry + 2) != kTypeShort || tiff.u32(entry + 4) < 1)
            return 0;
        const std::uint32_t value = tiff.u16(entry + 8);
        return value >= 1 && value <= 8 ? int(value) : 0;
    }
    return 0;
}

int jpegFileOrientation(const std::uint8_t *data, std::size_t size)
{
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return 1;
    std::size_t at = 2;
    while (at + 4 <= size) {
        if (data[at] != 0xFF)
            return 1;
        const std::uint8_t marker = data[at + 1];
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) // a scan or the end: no EXIF comes before it
            return 1;
        const std::size_t length = std::size_t(data[at + 2]) << 8 | data[at + 3];
        if (length < 2 || at + 2 + length > size)
            return 1;
        if (marker == 0xE1) {
            if (const int orientation = exifOrientation(data + at + 4, length - 2))
                return orientation;
        }
        at += 2 + length;
    }
    return 1;
}
