// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "media/RgbImage.h"

#include <cstdint>
#include <vector>

// Scales streamed rows to an exact size with a Lanczos-3 filter widened by the reduction, so every source
// pixel counts (no nearest-pixel sampling). Each row is filtered across as it arrives; the filtering down
// happens in finish(). Rows of the exact target size are kept as they come. Rows hold 3 bytes a pixel (RGB)
// or 4 (CMYK inks, scaled before they are turned into colours).
class Resampler final : public RgbRowSink
{
public:
    // softenTopOctave: the rows come from a DCT reduction, which keeps every frequency up to the new
    // Nyquist limit at full strength; a light 3-tap pass rounds the top octave off as a Lanczos-3
    // reduction would, so the result matches a filtered reduction closely.
    Resampler(int targetWidth, int targetHeight, bool softenTopOctave = false, int channels = 3);

    bool begin(int width, int height) noexcept override;
    void addRow(const uint8_t *pixels) noexcept override;
    // The scaled picture; rows never delivered (a picture cut short) stay black (or without ink).
    RgbImage finish();                   // 3 channels
    std::vector<uint8_t> finishPixels(); // any: target width x height x channels, rows packed

    struct Taps {
        std::vector<int> first;       // first source index of each output index
        std::vector<int> count;       // taps of each output index
        std::vector<int16_t> weights; // stride weights from i * stride; unused taps weigh 0
        int stride = 0;               // a multiple of 8, so the dot products vectorise
    };

private:
    std::vector<uint8_t> filterDown();
    size_t rowBytes() const { return size_t(m_targetWidth) * size_t(m_channels); }

    int m_targetWidth;
    int m_targetHeight;
    int m_sourceWidth = 0;
    int m_sourceHeight = 0;
    int m_rowsIn = 0;
    int m_channels;
    bool m_copyOnly = false;
    bool m_soften = false;
    Taps m_across;
    Taps m_down;
    std::vector<uint8_t> m_acrossDone; // target width x source height
    std::vector<int16_t> m_planes;     // the incoming row split into its channels, padded for the taps
};
