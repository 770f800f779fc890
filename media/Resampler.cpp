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

void soften(RgbImage &image)
{
    const size_t rowBytes = size_t(image.width) * 3;
    if (image.width < 2 || image.height < 2)
        return;
    std::vector<uint8_t> above(rowBytes), current(rowBytes);
    for (int y = 0; y < image.height; ++y) { // across: neighbours are 3 bytes away
        uint8_t *row = image.row(y);
        const uint8_t *c = current.data();
        std::memcpy(current.data(), row, rowBytes);
        for (size_t i = 0; i < 3; ++i) {
            row[i] = soft(c[i], c[i], c[i + 3]);
            row[rowBytes - 3 + i] = soft(c[rowBytes - 6 + i], c[rowBytes - 3 + i], c[rowBytes - 3 + i]);
        }
        for (size_t i = 3; i + 3 < rowBytes; ++i)
            row[i] = soft(c[i - 3], c[i], c[i + 3]);
    }
    for (int y = 0; y < image.height; ++y) { // down, keeping the unfiltered row above
        uint8_t *row = image.row(y);
        std::memcpy(current.data(), row, rowBytes);
        const uint8_t *up = y > 0 ? above.data() : current.data();
        const uint8_t *below = y + 1 < image.height ? image.row(y + 1) : current.data();
        for (size_t i = 0; i < rowBytes; ++i)
            row[i] = soft(up[i], current[i], below[i]);
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

template <int Stride>
void filterAcross(const Resampler::Taps &t, int targetWidth, const int16_t *const planes[3], uint8_t *out)
{
    for (int x = 0; x < targetWidth; ++x) {
        const int16_t *w = t.weights.data() + size_t(x) * Stride;
        const int first = t.first[size_t(x)];
        for (int c = 0; c < 3; ++c)
            out[x * 3 + c] = clampToByte(dotFixed<Stride>(w, planes[c] + first));
    }
}

} // namespace

Resampler::Resampler(int targetWidth, int targetHeight, bool softenTopOctave)
    : m_targetWidth(targetWidth), m_targetHeight(targetHeight), m_soften(softenTopOctave)
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
            m_planes.assign(size_t(width + m_across.stride) * 3, 0);
        }
        m_acrossDone.width = m_targetWidth;
        m_acrossDone.height = height;
        m_acrossDone.pixels.assign(size_t(m_targetWidth) * size_t(height) * 3, 0);
        return true;
    } catch (const std::bad_alloc &) {
        return false;
    }
}

void Resampler::addRow(const uint8_t *rgb) noexcept
{
    if (m_rowsIn >= m_sourceHeight)
        return;
    uint8_t *out = m_acrossDone.row(m_rowsIn++);
    if (m_copyOnly) {
        std::memcpy(out, rgb, size_t(m_targetWidth) * 3);
        return;
    }
    const size_t planeSize = size_t(m_sourceWidth + m_across.stride);
    int16_t *red = m_planes.data();
    int16_t *green = red + planeSize;
    int16_t *blue = green + planeSize;
    for (int x = 0; x < m_sourceWidth; ++x) {
        red[x] = rgb[x * 3];
        green[x] = rgb[x * 3 + 1];
        blue[x] = rgb[x * 3 + 2];
    }
    const int stride = m_across.stride;
    const int16_t *const planes[3] = {red, green, blue};
    switch (stride) { // the common reductions, up to about 5:1
    case 8:
        return filterAcross<8>(m_across, m_targetWidth, planes, out);
    case 16:
        return filterAcross<16>(m_across, m_targetWidth, planes, out);
    case 24:
        return filterAcross<24>(m_across, m_targetWidth, planes, out);
    case 32:
        return filterAcross<32>(m_across, m_targetWidth, planes, out);
    default:
        break;
    }
    for (int x = 0; x < m_targetWidth; ++x) {
        const int16_t *w = m_across.weights.data() + size_t(x) * size_t(stride);
        const int first = m_across.first[size_t(x)];
        for (int c = 0; c < 3; ++c)
            out[x * 3 + c] = clampToByte(dot(w, planes[c] + first, stride));
    }
}

RgbImage Resampler::finish()
{
    RgbImage out = m_copyOnly ? std::move(m_acrossDone) : filterDown();
    if (m_soften)
        soften(out);
    return out;
}

RgbImage Resampler::filterDown()
{
    RgbImage out;
    out.width = m_targetWidth;
    out.height = m_targetHeight;
    out.pixels.resize(size_t(m_targetWidth) * size_t(m_targetHeight) * 3);
    const size_t rowBytes = size_t(m_targetWidth) * 3;
    std::vector<int32_t> sum(rowBytes);
    for (int y = 0; y < m_targetHeight; ++y) {
        std::fill(sum.begin(), sum.end(), 0);
        const int16_t *w = m_down.weights.data() + size_t(y) * size_t(m_down.stride);
        const int first = m_down.first[size_t(y)];
        for (int k = 0, n = m_down.count[size_t(y)]; k < n; ++k) {
            const uint8_t *in = m_acrossDone.row(first + k);
            const int32_t weight = w[k];
            for (size_t i = 0; i < rowBytes; ++i)
                sum[i] += weight * in[i];
        }
        uint8_t *dst = out.row(y);
        for (size_t i = 0; i < rowBytes; ++i)
            dst[i] = clampToByte(sum[i]);
    }
    return out;
}
