// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// The orientation tag (1 to 8) of IFD0 in the body of an APP1 "Exif\0\0" segment, or 0 when the
// segment holds none or is damaged. Every offset is checked against size.
int exifOrientation(const std::uint8_t *app1, std::size_t size);

// Orientations 5 to 8 turn the picture by a quarter: a browser shows it with width and height swapped.
inline bool orientationSwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

// The EXIF orientation (1 to 8) of a whole JPEG file held in memory; 1 when it has none or it is
// unreadable. Only the markers before the first scan are looked at.
int jpegFileOrientation(const std::uint8_t *data, std::size_t size);
