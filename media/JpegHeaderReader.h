// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// Reads a JPEG header through libjpeg, from a file descriptor or from memory, and nothing more.
// libjpeg's errors longjmp back here; none can end the process. Plain C data only, so no C++
// object lives across the setjmp.
struct JpegHeaderInfo {
    unsigned width = 0;
    unsigned height = 0;
    int orientation = 0; // EXIF orientation 1 to 8, 0 when there is none
    char error[200] = {}; // libjpeg's message when reading failed
};

// Reads data/size first (bytes already read from the file, or all of it), then, when fd >= 0, goes on
// reading fd, at most maxBytes in all. False with info.error on failure.
bool readJpegHeader(int fd, const std::uint8_t *data, std::size_t size, std::size_t maxBytes,
                    JpegHeaderInfo &info);
