#pragma once

#include <cstddef>
#include <cstdint>

// The EXIF orientation (1 to 8) of a JPEG file held in memory; 1 when there is none or it is unreadable.
// Only the markers before the first scan are looked at.
int exifOrientation(const uint8_t *data, size_t size);

// Orientations 5 to 8 show the stored picture turned a quarter: width and height swap.
inline bool orientationSwapsSides(int orientation)
{
    return orientation >= 5 && orientation <= 8;
}
