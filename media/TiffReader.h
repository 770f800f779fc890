// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// Reads the numbers of a TIFF structure (the body of an EXIF segment) in its byte order. Callers check
// every offset with has() before reading it.
struct TiffReader {
    const std::uint8_t *data;
    std::size_t size;
    bool bigEndian;

    bool has(std::size_t offset, std::size_t count) const { return offset <= size && count <= size - offset; }
    std::uint32_t u16(std::size_t at) const
    {
        return bigEndian ? (data[at] << 8) | data[at + 1] : data[at] | (data[at + 1] << 8);
    }
    std::uint32_t u32(std::size_t at) const
    {
        return bigEndian ? (std::uint32_t(u16(at)) << 16) | u16(at + 2)
                         : u16(at) | (std::uint32_t(u16(at + 2)) << 16);
    }
};
