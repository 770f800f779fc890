// SPDX-License-Identifier: GPL-2.0-or-later
#include "media/RgbImage.h"

#include <cstring>

RgbImage orientedImage(RgbImage stored, int orientation)
{
    if (orientation < 2 || orientation > 8)
        return stored;
    const int w = stored.width;
    const int h = stored.height;
    const bool swap = orientation >= 5;
    RgbImage out;
    out.width = swap ? h : w;
    out.height = swap ? w : h;
    out.pixels.resize(stored.pixels.size());
    for (int y = 0; y < out.height; ++y) {
        uint8_t *dst = out.row(y);
        for (int x = 0; x < out.width; ++x) {
            // The stored pixel that shows at (x, y).
            int sx = x, sy = y;
            switch (orientation) {
            case 2:
                sx = w - 1 - x;
                break;
            case 3:
                sx = w - 1 - x;
                sy = h - 1 - y;
                break;
            case 4:
                sy = h - 1 - y;
                break;
            case 5:
                sx = y;
                sy = x;
                break;
            case 6:
                sx = y;
                sy = h - 1 - x;
                break;
            case 7:
                sx = w - 1 - y;
                sy = h - 1 - x;
                break;
            case 8:
                sx = w - 1 - y;
                sy = x;
                break;
            }
            std::memcpy(dst + size_t(x) * 3, stored.row(sy) + size_t(sx) * 3, 3);
        }
    }
    return out;
}
