#include "generator/ExifOrientation.h"

#include <cstring>

namespace
{

struct Tiff {
    const uint8_t *p;
    size_t size;
    bool little;

    bool has(size_t at, size_t n) const { return at <= size && n <= size - at; }
    unsigned u16(size_t at) const { return little ? p[at] | p[at + 1] << 8 : p[at] << 8 | p[at + 1]; }
    uint32_t u32(size_t at) const
    {
        return little ? uint32_t(u16(at)) | uint32_t(u16(at + 2)) << 16
                      : uint32_t(u16(at)) << 16 | uint32_t(u16(at + 2));
    }
};

// The orientation tag (0x0112) of IFD0 in a TIFF block, or 1.
int orientationInTiff(const Tiff &t)
{
    if (!t.has(0, 8) || t.u16(2) != 42)
        return 1;
    const size_t ifd = t.u32(4);
    if (!t.has(ifd, 2))
        return 1;
    const unsigned count = t.u16(ifd);
    for (unsigned i = 0; i < count; ++i) {
        const size_t entry = ifd + 2 + size_t(i) * 12;
        if (!t.has(entry, 12))
            return 1;
        if (t.u16(entry) == 0x0112 && t.u16(entry + 2) == 3 /* SHORT */) {
            const unsigned value = t.u16(entry + 8);
            return value >= 1 && value <= 8 ? int(value) : 1;
        }
    }
    return 1;
}

} // namespace

int exifOrientation(const uint8_t *data, size_t size)
{
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return 1;
    size_t at = 2;
    while (at + 4 <= size) {
        if (data[at] != 0xFF)
            return 1;
        const uint8_t marker = data[at + 1];
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) // scan or end: no EXIF before it
            return 1;
        const size_t length = size_t(data[at + 2]) << 8 | data[at + 3];
        if (length < 2 || at + 2 + length > size)
            return 1;
        const uint8_t *segment = data + at + 4;
        const size_t segmentSize = length - 2;
        if (marker == 0xE1 && segmentSize > 6 && std::memcmp(segment, "Exif\0\0", 6) == 0) {
            const Tiff tiff{segment + 6, segmentSize - 6, segment[6] == 'I' && segment[7] == 'I'};
            if ((segment[6] == 'I' && segment[7] == 'I') || (segment[6] == 'M' && segment[7] == 'M'))
                return orientationInTiff(tiff);
            return 1;
        }
        at += 2 + length;
    }
    return 1;
}
