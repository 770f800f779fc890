// SPDX-License-Identifier: GPL-2.0-or-later
#include "media/Resampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace
{

constexpr int kPrecision = 14;
constexpr double kLobes = 3.0;

double sinc(double x)
{
    if (x == 0.0)
        return 1.0;
    x *= M_PI;
    return std::sin(x) / x;
}

double lanczos(double x)
{
    return std::abs(x) < kLobes ? sinc(x) * sinc(x / kLobes) : 0.0;
}

// Fixed-point weights mapping `in` samples onto `out` samples, centres aligned.
Resampler::Taps makeTaps(int in, int out)
{
    Resampler::Taps t;
    const double scale = double(in) / out;
    const double widen = std::max(scale, 1.0);
    const double support = kLobes * widen;
    // At most floor(2 * support) + 1 source samples lie within reach of a centre; padding beyond the
    // next multiple of 8 would only multiply zeros.
    t.stride = (int(std::floor(2 * support)) + 1 + 7) / 8 * 8;
    t.first.resize(size_t(out));
    t.count.resize(size_t(out));
    t.weights.assign(size_t(out) * size_t(t.stride), 0);
    std::vector<double> w(size_t(t.stride));
    for (int i = 0; i < out; ++i) {
        const double centre = (i + 0.5) * scale;
        const int lo = std::max(int(centre - support + 0.5), 0);
        const int hi = std::min(int(centre + support + 0.5), in);
        const int n = std::min(hi - lo, t.stride);
        double sum = 0;
        for (int k = 0; k < n; ++k) {
            w[size_t(k)] = lanczos((lo + k - centre + 0.5) / widen);
            sum += w[size_t(k)];
        }
        int16_t *dst = t.weights.data() + size_t(i) * size_t(t.stride);
        for (int k = 0; k < n; ++k)
            dst[k] = int16_t(std::lround(w[size_t(k)] / (sum != 0 ? sum : 1) * (1 << kPrecision)));
        t.first[size_t(i)] = lo;
        t.count[size_t(i)] = n;
    }
    return t;
}

// [0.08 0.84 0.08] in 1/256ths: halves the response at the Nyquist limit, leaves low frequencies alone.
constexpr int kSide = 20;
constexpr int kCentre = 256 - 2 * kSide;

inline uint8_t soft(int before, int here, int after)
{
    return uint8_t((kSide * (before + after) + kCentre * here + 128) >> 8);
}

// Rows of Channels bytes a pixel, packed (the distance known when compiling, so the loops vectorise).
template <int Channels> void soften(uint8_t *pixels, int width, int height)
{
    const size_t rowBytes = size_t(width) * Channels;
    constexpr size_t n = Channels; // across, neighbours are one pixel's bytes away
    if (width < 2 || height < 2)
        return;
    auto row = [&](int y) { return pixels + size_t(y) * rowBytes; };
    std::vector<uint8_t> above(rowBytes), current(rowBytes);
    for (int y = 0; y < height; ++y) {
        uint8_t *r = row(y);
        const uint8_t *c = current.data();
        std::memcpy(current.data(), r, rowBytes);
        for (size_t i = 0; i < n; ++i) {
            r[i] = soft(c[i], c[i], c[i + n]);
            r[rowBytes - n + i] = soft(c[rowBytes - 2 * n + i], c[rowBytes - n + i], c[rowBytes - n + i]);
        }
        for (size_t i = n; i + n < rowBytes; ++i)
            r[i] = soft(c[i - n], c[i], c[i + n]);
    }
    for (int y = 0; y < height; ++y) { // down, keeping the unfiltered row above
        uint8_t *r = row(y);
        std::memcpy(current.data(), r, rowBytes);
        const uint8_t *up = y > 0 ? above.data() : current.data();
        const uint8_t *below = y + 1 < height ? row(y + 1) : current.data();
        for (size_t i = 0; i < rowBytes; ++i)
            r[i] = soft(up[i], current[i], below[i]);
        above.swap(current);
    }
}

inline uint8_t clampToByte(int32_t v)
{
    v = (v + (1 << (kPrecision - 1))) >> kPrecision;
    return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
}

// Weights are zero past the real taps, so every dot product runs the full (vectorisable) stride.
inline int32_t dot(const int16_t *w, const int16_t *p, int stride)
{
    int32_t sum = 0;
    for (int k = 0; k < stride; ++k)
        sum += int32_t(w[k]) * p[k];
    return sum;
}

// The same with the stride known when compiling: fully unrolled multiply-adds.
template <int Stride> inline int32_t dotFixed(const int16_t *w, const int16_t *p)
{
    int32_t sum = 0;
    for (int k = 0; k < Stride; ++k)
        sum += int32_t(w[k]) * p[k];
    return sum;
}

template <int Stride, int Channels>
void filterAcross(const Resampler::Taps &t, int targetWidth, const int16_t *const *planes, uint8_t *out)
{
    for (int x = 0; x < targetWidth; ++x) {
        const int16_t *w = t.weights.data() + size_t(x) * Stride;
        const int first = t.first[size_t(x)];
        for (int c = 0; c < Channels; ++c)
            out[x * Channels + c] = clampToByte(dotFixed<Stride>(w, planes[c] + first));
    }
}

template <int Channels>
void splitAndFilter(const Resampler::Taps &t, int sourceWidth, int targetWidth, const uint8_t *in,
                    int16_t *planeData, uint8_t *out)
{
    const size_t planeSize = size_t(sourceWidth + t.stride);
    int16_t *planes[Channels];
    for (int c = 0; c < Channels; ++c)
        planes[c] = planeData + size_t(c) * planeSize;
    for (int x = 0; x < sourceWidth; ++x)
        for (int c = 0; c < Channels; ++c)
            planes[c][x] = in[x * Channels + c];
    switch (t.stride) { // the common reductions, up to about 5:1
    case 8:
        return filterAcross<8, Channels>(t, targetWidth, planes, out);
    case 16:
        return filterAcross<16, Channels>(t, targetWidth, planes, out);
    case 24:
        return filterAcross<24, Channels>(t, targetWidth, planes, out);
    case 32:
        return filterAcross<32, Channels>(t, targetWidth, planes, out);
    default:
        break;
    }
    for (int x = 0; x < targetWidth; ++x) {
        const int16_t *w = t.weights.data() + size_t(x) * size_t(t.stride);
        const int first = t.first[size_t(x)];
        for (int c = 0; c < Channels; ++c)
            out[x * Channels + c] = clampToByte(dot(w, planes[c] + first, t.stride));
    }
}

} // namespace

Resampler::Resampler(int targetWidth, int targetHeight, bool softenTopOctave, int channels)
    : m_targetWidth(targetWidth), m_targetHeight(targetHeight), m_channels(channels == 4 ? 4 : 3),
      m_soften(softenTopOctave)
{
}

bool Resampler::begin(int width, int height) noexcept
{
    try {
        m_sourceWidth = width;
        m_sourceHeight = height;
        m_rowsIn = 0;
        m_copyOnly = width == m_targetWidth && height == m_targetHeight;
        if (!m_copyOnly) {
            m_across = makeTaps(width, m_targetWidth);
            m_down = makeTaps(height, m_targetHeight);
            m_planes.assign(size_t(width + m_across.stride) * size_t(m_channels), 0);
        }
        // Filled as rows arrive (no zeroing first: a pass over the whole picture); rows that never do are
        // added in finishPixels().
        m_acrossDone.clear();
        m_acrossDone.reserve(rowBytes() * size_t(height));
        return true;
    } catch (const std::bad_alloc &) {
        return false;
    }
}

void Resampler::addRow(const uint8_t *pixels) noexcept
{
    if (m_rowsIn >= m_sourceHeight)
        return;
    ++m_rowsIn;
    if (m_copyOnly) {
        m_acrossDone.insert(m_acrossDone.end(), pixels, pixels + rowBytes());
        return;
    }
    m_acrossDone.resize(m_acrossDone.size() + rowBytes()); // within the reserve: never reallocates
    uint8_t *out = m_acrossDone.data() + m_acrossDone.size() - rowBytes();
    if (m_channels == 4)
        splitAndFilter<4>(m_across, m_sourceWidth, m_targetWidth, pixels, m_planes.data(), out);
    else
        splitAndFilter<3>(m_across, m_sourceWidth, m_targetWidth, pixels, m_planes.data(), out);
}

RgbImage Resampler::finish()
{
    RgbImage out;
    out.width = m_targetWidth;
    out.height = m_targetHeight;
    out.pixels = finishPixels();
    return out;
}

std::vector<uint8_t> Resampler::finishPixels()
{
    m_acrossDone.resize(rowBytes() * size_t(m_sourceHeight)); // rows never delivered: black, no ink
    std::vector<uint8_t> out = m_copyOnly ? std::move(m_acrossDone) : filterDown();
    if (m_soften && m_channels == 4)
        soften<4>(out.data(), m_targetWidth, m_targetHeight);
    else if (m_soften)
        soften<3>(out.data(), m_targetWidth, m_targetHeight);
    return out;
}

std::vector<uint8_t> Resampler::filterDown()
{
    const size_t bytes = rowBytes();
    std::vector<uint8_t> out(bytes * size_t(m_targetHeight));
    std::vector<int32_t> sum(bytes);
    for (int y = 0; y < m_targetHeight; ++y) {
        std::fill(sum.begin(), sum.end(), 0);
        const int16_t *w = m_down.weights.data() + size_t(y) * size_t(m_down.stride);
        const int first = m_down.first[size_t(y)];
        for (int k = 0, n = m_down.count[size_t(y)]; k < n; ++k) {
            const uint8_t *in = m_acrossDone.data() + bytes * size_t(first + k);
            const int32_t weight = w[k];
            for (size_t i = 0; i < bytes; ++i)
                sum[i] += weight * in[i];
        }
        uint8_t *dst = out.data() + bytes * size_t(y);
        for (size_t i = 0; i < bytes; ++i)
            dst[i] = clampToByte(sum[i]);
    }
    return out;
}
