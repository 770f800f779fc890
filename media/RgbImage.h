// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Plain 24-bit RGB pixels, rows packed without padding: what the decoder, the scaler and the encoder share.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    uint8_t *row(int y) { return pixels.data() + size_t(y) * size_t(width) * 3; }
    const uint8_t *row(int y) const { return pixels.data() + size_t(y) * size_t(width) * 3; }
};

// Takes decoded rows one at a time, top to bottom. Never throws: the decoder calls it between setjmp
// and longjmp.
class RgbRowSink
{
public:
    virtual ~RgbRowSink() = default;
    virtual bool begin(int width, int height) noexcept = 0; // false: not enough memory
    // Offered first for a CMYK picture with a colour profile: true when the sink takes the rows as plain
    // inks (4 bytes a pixel, 0 is no ink) and turns them into colours itself, later and maybe fewer.
    virtual bool beginInks(int, int) noexcept { return false; }
    virtual void addRow(const uint8_t *rgb) noexcept = 0;
};

// The stored picture turned as its EXIF orientation (1 to 8) says, so that it shows upright.
RgbImage orientedImage(RgbImage stored, int orientation);
