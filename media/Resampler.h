#pragma once

#include "media/RgbImage.h"

#include <cstdint>
#include <vector>

// Scales streamed rows to an exact size with a Lanczos-3 filter widened by the reduction, so every source
// pixel counts (no nearest-pixel sampling). Each row is filtered across as it arrives; the filtering down
// happens in finish(). Rows of the exact target size are kept as they come.
class Resampler final : public RgbRowSink
{
public:
    // softenTopOctave: the rows come from a DCT reduction, which keeps every frequency up to the new
    // Nyquist limit at full strength; a light 3-tap pass rounds the top octave off as a Lanczos-3
    // reduction would, so the result matches a filtered reduction closely.
    Resampler(int targetWidth, int targetHeight, bool softenTopOctave = false);

    bool begin(int width, int height) noexcept override;
    void addRow(const uint8_t *rgb) noexcept override;
    // The scaled picture; rows never delivered (a picture cut short) stay black.
    RgbImage finish();

    struct Taps {
        std::vector<int> first;       // first source index of each output index
        std::vector<int> count;       // taps of each output index
        std::vector<int16_t> weights; // stride weights from i * stride; unused taps weigh 0
        int stride = 0;               // a multiple of 8, so the dot products vectorise
    };

private:
    RgbImage filterDown();

    int m_targetWidth;
    int m_targetHeight;
    int m_sourceWidth = 0;
    int m_sourceHeight = 0;
    int m_rowsIn = 0;
    bool m_copyOnly = false;
    bool m_soften = false;
    Taps m_across;
    Taps m_down;
    RgbImage m_acrossDone;         // target width x source height
    std::vector<int16_t> m_planes; // the incoming row split into R, G and B, padded for the taps
};
