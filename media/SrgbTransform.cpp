// SPDX-License-Identifier: GPL-2.0-or-later
#include "media/SrgbTransform.h"

#include <QHashFunctions>

#include <lcms2.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <future>
#include <mutex>
#include <utility>

namespace
{

constexpr std::size_t kCachedTransforms = 8; // a run meets few distinct profiles

// Lcms2 reports damaged profiles through a global handler that would print; the caller says why instead.
void quiet(cmsContext, cmsUInt32Number, const char *) {}

// Perceptual, as browsers and jpgicc use by default (matrix profiles have only the one intent anyway).
constexpr cmsUInt32Number kIntent = INTENT_PERCEPTUAL;

// A gray pixel within our three-byte pixels: the first byte read, the other two skipped.
constexpr cmsUInt32Number kGrayInRgb = COLORSPACE_SH(PT_GRAY) | CHANNELS_SH(1) | BYTES_SH(1) | EXTRA_SH(2);

cmsHPROFILE adobeRgbProfile()
{
    const cmsCIExyY d65{0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries{{0.64, 0.33, 1.0}, {0.21, 0.71, 1.0}, {0.15, 0.06, 1.0}};
    cmsToneCurve *gamma = cmsBuildGamma(nullptr, 563.0 / 256.0);
    cmsToneCurve *curves[3] = {gamma, gamma, gamma};
    cmsHPROFILE profile = cmsCreateRGBProfile(&d65, &primaries, curves);
    cmsFreeToneCurve(gamma);
    return profile;
}

constexpr int kLinearTop = (1 << SrgbTransform::kLinearBits) - 1;
// The largest share of one source channel in one sRGB channel the integer path takes: three of them at
// full light stay inside 32 bits.
constexpr double kMaxShare = 8.0;
static_assert(3.0 * kMaxShare * (1 << SrgbTransform::kMatrixBits) * kLinearTop < 2147483647.0);

// The colorant matrix of a matrix/TRC profile (columns: red, green, blue in D50 XYZ).
bool colorants(cmsHPROFILE profile, double m[3][3])
{
    const cmsTagSignature tags[3] = {cmsSigRedColorantTag, cmsSigGreenColorantTag, cmsSigBlueColorantTag};
    for (int c = 0; c < 3; ++c) {
        const auto *xyz = static_cast<const cmsCIEXYZ *>(cmsReadTag(profile, tags[c]));
        if (!xyz)
            return false;
        m[0][c] = xyz->X;
        m[1][c] = xyz->Y;
        m[2][c] = xyz->Z;
    }
    return true;
}

bool inverted(const double m[3][3], double out[3][3])
{
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    if (std::abs(det) < 1e-12)
        return false;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) {
            const int r1 = (c + 1) % 3, r2 = (c + 2) % 3, c1 = (r + 1) % 3, c2 = (r + 2) % 3;
            out[r][c] = (m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1]) / det;
        }
    return true;
}

// The matrix and curves of an RGB matrix/TRC profile towards sRGB; null when the profile is of another
// kind (LUT-based profiles go through Little CMS).
std::unique_ptr<SrgbTransform::MatrixShaper> matrixShaper(cmsHPROFILE source, cmsHPROFILE srgb)
{
    double src[3][3], dst[3][3], dstInverse[3][3];
    // A profile that also holds a table for the intent is read through the table by Little CMS.
    if (!cmsIsMatrixShaper(source) || cmsIsCLUT(source, kIntent, LCMS_USED_AS_INPUT) ||
        cmsGetColorSpace(source) != cmsSigRgbData || !colorants(source, src) || !colorants(srgb, dst) ||
        !inverted(dst, dstInverse))
        return nullptr;
    const cmsTagSignature curveTags[3] = {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag};
    auto shaper = std::make_unique<SrgbTransform::MatrixShaper>();
    for (int c = 0; c < 3; ++c) {
        const auto *curve = static_cast<const cmsToneCurve *>(cmsReadTag(source, curveTags[c]));
        if (!curve)
            return nullptr;
        std::int32_t column[3]; // linear source channel c to linear sRGB
        for (int r = 0; r < 3; ++r) {
            double sum = 0;
            for (int k = 0; k < 3; ++k)
                sum += dstInverse[r][k] * src[k][c];
            // Real profiles give shares near 0 to 2; the integer path holds three shares of up to
            // kMaxShare at full light. Anything else (a hostile profile) is left to Little CMS.
            if (!std::isfinite(sum) || std::abs(sum) > kMaxShare)
                return nullptr;
            column[r] = std::int32_t(std::lround(sum * (1 << SrgbTransform::kMatrixBits)));
        }
        for (int v = 0; v < 256; ++v) {
            const float level = cmsEvalToneCurveFloat(curve, float(v) / 255.0f);
            if (!std::isfinite(level))
                return nullptr;
            const auto linear = std::int32_t(std::lround(std::clamp(level, 0.0f, 1.0f) * kLinearTop));
            for (int r = 0; r < 3; ++r)
                shaper->terms[c][v][r] = column[r] * linear;
            shaper->terms[c][v][3] = 0;
        }
    }
    for (int i = 0; i <= kLinearTop; ++i) {
        const double linear = double(i) / kLinearTop;
        const double encoded =
            linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
        shaper->toSrgb[i] = std::uint8_t(std::lround(std::clamp(encoded, 0.0, 1.0) * 255));
    }
    return shaper;
}

// Three table rows added per pixel (a source channel's share of each linear sRGB channel), then each sum
// rounded, clamped to the table of encodings and encoded. Two pixels at a time with SSE2 (every x86-64).
void convertThroughMatrix(const SrgbTransform::MatrixShaper &s, std::uint8_t *p, std::size_t count)
{
    constexpr int kRound = 1 << (SrgbTransform::kMatrixBits - 1);
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i round = _mm_set1_epi32(kRound), zero = _mm_setzero_si128();
    const __m128i top = _mm_set1_epi16(std::int16_t(kLinearTop));
    auto sum = [&s, round](const std::uint8_t *q) {
        const auto *r = reinterpret_cast<const __m128i *>(s.terms[0][q[0]]);
        const auto *g = reinterpret_cast<const __m128i *>(s.terms[1][q[1]]);
        const auto *b = reinterpret_cast<const __m128i *>(s.terms[2][q[2]]);
        const __m128i total = _mm_add_epi32(_mm_add_epi32(_mm_loadu_si128(r), _mm_loadu_si128(g)),
                                            _mm_add_epi32(_mm_loadu_si128(b), round));
        return _mm_srai_epi32(total, SrgbTransform::kMatrixBits);
    };
    alignas(16) std::int16_t linear[8];
    for (; i + 2 <= count; i += 2, p += 6) {
        // Packing to 16 bits saturates; the clamp then takes what is left to the table's range.
        const __m128i both = _mm_packs_epi32(sum(p), sum(p + 3));
        _mm_store_si128(reinterpret_cast<__m128i *>(linear), _mm_min_epi16(_mm_max_epi16(both, zero), top));
        p[0] = s.toSrgb[linear[0]];
        p[1] = s.toSrgb[linear[1]];
        p[2] = s.toSrgb[linear[2]];
        p[3] = s.toSrgb[linear[4]];
        p[4] = s.toSrgb[linear[5]];
        p[5] = s.toSrgb[linear[6]];
    }
#endif
    auto encode = [&s](std::int32_t total) {
        return s.toSrgb[std::clamp((total + kRound) >> SrgbTransform::kMatrixBits, 0, kLinearTop)];
    };
    for (; i < count; ++i, p += 3) {
        const std::int32_t *r = s.terms[0][p[0]], *g = s.terms[1][p[1]], *b = s.terms[2][p[2]];
        const std::int32_t red = r[0] + g[0] + b[0], green = r[1] + g[1] + b[1], blue = r[2] + g[2] + b[2];
        p[0] = encode(red);
        p[1] = encode(green);
        p[2] = encode(blue);
    }
}

// Puts the larger distance (and its axis) first: exchanged through a mask, which compilers keep free of
// branches (with noisy pictures any branch here is a coin toss).
inline void order(int &nearDistance, int &nearAxis, int &farDistance, int &farAxis) noexcept
{
    const int swap = -int(farDistance > nearDistance);
    const int distances = (nearDistance ^ farDistance) & swap, axes = (nearAxis ^ farAxis) & swap;
    nearDistance ^= distances;
    farDistance ^= distances;
    nearAxis ^= axes;
    farAxis ^= axes;
}

// A grid node's red, green and blue (the low three bytes) in three 16-bit lanes of one word, so the four
// corners of a tetrahedron weigh all three at once: weights add up to 256, so no lane overflows.
inline std::uint64_t lanes(std::uint64_t bytes) noexcept
{
    return (bytes & 0xFFu) | ((bytes & 0xFF00u) << 8) | ((bytes & 0xFF0000u) << 16);
}

struct Made {
    std::shared_ptr<const SrgbTransform> transform;
    QString why;
};

Made makeTransform(const QByteArray &icc, bool exifAdobe, SrgbTransform::Input input)
{
    static std::once_flag quietOnce;
    std::call_once(quietOnce, [] { cmsSetLogErrorHandler(quiet); });
    cmsHPROFILE source =
        exifAdobe ? adobeRgbProfile() : cmsOpenProfileFromMem(icc.constData(), cmsUInt32Number(icc.size()));
    if (!source)
        return {nullptr, QStringLiteral("its colour profile is damaged")};
    // As a number: a damaged header holds any four bytes, which are no value of the enumeration.
    const auto space = cmsUInt32Number(cmsGetColorSpace(source));
    const bool fits = (input == SrgbTransform::Input::Rgb && space == cmsSigRgbData) ||
                      (input == SrgbTransform::Input::Gray && space == cmsSigGrayData) ||
                      (input == SrgbTransform::Input::Cmyk && space == cmsSigCmykData);
    Made made;
    if (!fits) {
        made.why = QStringLiteral("its colour profile does not fit its colour channels");
    } else {
        const cmsUInt32Number format = input == SrgbTransform::Input::Rgb    ? TYPE_RGB_8
                                       : input == SrgbTransform::Input::Gray ? kGrayInRgb
                                                                             : TYPE_CMYK_8;
        cmsHPROFILE srgb = cmsCreate_sRGBProfile();
        // A matrix profile needs no transform of Little CMS's own (building one costs as much as turning
        // a thumbnail's pixels).
        auto shaper = srgb && input == SrgbTransform::Input::Rgb ? matrixShaper(source, srgb) : nullptr;
        // No cache: the one-pixel cache would make the transform unsafe to share between threads.
        cmsHTRANSFORM handle =
            srgb && !shaper ? cmsCreateTransform(source, format, srgb, TYPE_RGB_8, kIntent, cmsFLAGS_NOCACHE)
                            : nullptr;
        if (shaper)
            made.transform = std::make_shared<const SrgbTransform>(std::move(shaper));
        else if (handle)
            made.transform = std::make_shared<const SrgbTransform>(handle, input);
        else
            made.why = QStringLiteral("its colour profile is not supported");
        if (srgb)
            cmsCloseProfile(srgb);
    }
    cmsCloseProfile(source);
    return made;
}

// The last few transforms made, most recent first; a failure is remembered too, so it is tried once.
// Keyed by the profile's bytes (their hash first), or Adobe RGB told by EXIF, and the kind of pixels. A
// transform being built is waited for, not built again by the next worker that meets the same profile.
Made cachedTransform(const QByteArray &icc, bool exifAdobe, SrgbTransform::Input input)
{
    struct Entry {
        QByteArray profile;
        bool exifAdobe;
        SrgbTransform::Input input;
        std::size_t hash;
        std::shared_future<Made> made;
    };
    static std::mutex lock;
    static std::deque<Entry> cache;
    const std::size_t hash = qHash(icc);
    auto matches = [&](const Entry &entry) {
        return entry.hash == hash && entry.exifAdobe == exifAdobe && entry.input == input &&
               entry.profile == icc;
    };
    std::promise<Made> building;
    std::shared_future<Made> known;
    {
        const std::lock_guard<std::mutex> guard(lock);
        for (const Entry &entry : cache)
            if (matches(entry)) {
                known = entry.made;
                break;
            }
        if (!known.valid()) {
            cache.push_front({icc, exifAdobe, input, hash, building.get_future().share()});
            if (cache.size() > kCachedTransforms)
                cache.pop_back();
        }
    }
    if (known.valid())
        return known.get(); // made, or being made by another thread: waited for outside the lock
    try {
        Made made = makeTransform(icc, exifAdobe, input); // the slow part, outside the lock
        building.set_value(made);
        return made;
    } catch (...) {
        building.set_exception(std::current_exception()); // to those waiting; the next caller tries again
        const std::lock_guard<std::mutex> guard(lock);
        const auto failed = std::find_if(cache.begin(), cache.end(), matches);
        if (failed != cache.end())
            cache.erase(failed);
        throw;
    }
}

} // namespace

SrgbTransform::SrgbTransform(void *handle, Input input) : m_handle(handle), m_input(input)
{
    if (input != Input::Cmyk)
        return;
    // Every node of the grid through Little CMS once, a row of black at a time.
    m_cmyk = std::make_unique<CmykTable>();
    for (int ink = 0, node = 0; ink < 256; ++ink) {
        while (node + 2 < kInkNodes && kInkNode[node + 1] <= ink)
            ++node;
        const int gap = kInkNode[node + 1] - kInkNode[node];
        m_cmyk->node[ink] = std::uint8_t(node);
        m_cmyk->past[ink] = std::uint16_t(((ink - kInkNode[node]) * kInkWeight + gap / 2) / gap);
    }
    std::uint8_t inks[kInkNodes * 4];
    for (int c = 0; c < kInkNodes; ++c)
        for (int m = 0; m < kInkNodes; ++m)
            for (int y = 0; y < kInkNodes; ++y) {
                for (int k = 0; k < kInkNodes; ++k) {
                    std::uint8_t *ink = inks + k * 4;
                    ink[0] = std::uint8_t(kInkNode[c]);
                    ink[1] = std::uint8_t(kInkNode[m]);
                    ink[2] = std::uint8_t(kInkNode[y]);
                    ink[3] = std::uint8_t(kInkNode[k]);
                }
                cmsDoTransform(static_cast<cmsHTRANSFORM>(handle), inks, m_cmyk->rgb[c][m][y][0], kInkNodes);
            }
}

SrgbTransform::~SrgbTransform()
{
    if (m_handle)
        cmsDeleteTransform(static_cast<cmsHTRANSFORM>(m_handle));
}

void SrgbTransform::convert(RgbImage &image) const
{
    if (m_shaper) {
        convertThroughMatrix(*m_shaper, image.pixels.data(), size_t(image.width) * size_t(image.height));
        return;
    }
    // Row by row through one spare row: a full-size picture in the viewer is not held twice.
    const size_t rowBytes = size_t(image.width) * 3;
    std::vector<uint8_t> converted(rowBytes);
    for (int y = 0; y < image.height; ++y) {
        cmsDoTransform(static_cast<cmsHTRANSFORM>(m_handle), image.row(y), converted.data(),
                       cmsUInt32Number(image.width));
        std::copy(converted.begin(), converted.end(), image.row(y));
    }
}

void SrgbTransform::convertCmykRow(const std::uint8_t *cmyk, std::uint8_t *rgb, int width) const noexcept
{
    if (!m_cmyk) {
        cmsDoTransform(static_cast<cmsHTRANSFORM>(m_handle), cmyk, rgb, cmsUInt32Number(width));
        return;
    }
    constexpr int kStep = kInkWeight;
    constexpr int kWhole = kStep * kStep, kWholeBits = 16; // all terms are positive: a shift divides
    static_assert(kWhole == 1 << kWholeBits);
    // Strides through the table, by axis.
    constexpr int kK = 3, kY = kK * kInkNodes, kM = kY * kInkNodes, kC = kM * kInkNodes;
    const CmykTable &table = *m_cmyk;
    const std::uint8_t *grid = &table.rgb[0][0][0][0][0];
    for (int x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const int pc = table.past[cmyk[0]], pm = table.past[cmyk[1]], py = table.past[cmyk[2]];
        const int pk = table.past[cmyk[3]];
        const std::uint8_t *low = grid + table.node[cmyk[3]] * kK + table.node[cmyk[0]] * kC +
                                  table.node[cmyk[1]] * kM + table.node[cmyk[2]] * kY;
        // The tetrahedron of the cube around (c, m, y) that holds the point: walk from the low corner
        // along the axes in the order of their distances, largest first (three exchanges sort them).
        int p0 = pc, p1 = pm, p2 = py, first = kC, second = kM, third = kY;
        order(p0, first, p1, second);
        order(p1, second, p2, third);
        order(p0, first, p1, second);
        const int w0 = kStep - p0, w1 = p0 - p1, w2 = p1 - p2, w3 = p2;
        const std::uint8_t *c0 = low, *c1 = low + first, *c2 = c1 + second, *c3 = low + kC + kM + kY;
        // Both layers of black (side by side in the table), in 1/kStep of a step: the three channels
        // side by side in one word.
        std::uint64_t below = 0, above = 0;
        for (const auto &[corner, weight] : {std::pair{c0, w0}, {c1, w1}, {c2, w2}, {c3, w3}}) {
            std::uint64_t layers; // red, green, blue below, then above
            std::memcpy(&layers, corner, sizeof layers);
            below += std::uint64_t(weight) * lanes(layers);
            above += std::uint64_t(weight) * lanes(layers >> 24);
        }
        for (int i = 0; i < 3; ++i) {
            const auto lower = std::uint32_t(below >> (16 * i)) & 0xFFFF;
            const auto upper = std::uint32_t(above >> (16 * i)) & 0xFFFF;
            rgb[i] = std::uint8_t(
                (std::uint32_t(kStep - pk) * lower + std::uint32_t(pk) * upper + kWhole / 2) >> kWholeBits);
        }
    }
}

RgbImage SrgbTransform::convertCmyk(std::vector<std::uint8_t> &&cmyk, int width, int height) const
{
    if (!m_cmyk)
        return convertCmyk(cmyk.data(), width, height);
    // In place: each pixel's colours land at or before its inks, after they were read, and before any
    // inks still to be read.
    RgbImage out;
    out.width = width;
    out.height = height;
    out.pixels = std::move(cmyk);
    for (int y = 0; y < height; ++y)
        convertCmykRow(out.pixels.data() + size_t(y) * size_t(width) * 4, out.row(y), width);
    out.pixels.resize(size_t(width) * size_t(height) * 3);
    return out;
}

RgbImage SrgbTransform::convertCmyk(const std::uint8_t *cmyk, int width, int height) const
{
    RgbImage out;
    out.width = width;
    out.height = height;
    out.pixels.resize(size_t(width) * size_t(height) * 3);
    for (int y = 0; y < height; ++y)
        convertCmykRow(cmyk + size_t(y) * size_t(width) * 4, out.row(y), width);
    return out;
}

const SrgbTransform *PictureColour::forCmykRows() const
{
    return transform && transform->input() == SrgbTransform::Input::Cmyk ? transform.get() : nullptr;
}

void PictureColour::toSrgb(RgbImage &image) const
{
    if (transform && transform->input() != SrgbTransform::Input::Cmyk)
        transform->convert(image);
}

RgbImage PictureColour::inksToSrgb(const std::uint8_t *cmyk, int width, int height) const
{
    const SrgbTransform *profile = forCmykRows();
    return profile ? profile->convertCmyk(cmyk, width, height) : RgbImage{};
}

RgbImage PictureColour::inksToSrgb(std::vector<std::uint8_t> &&cmyk, int width, int height) const
{
    const SrgbTransform *profile = forCmykRows();
    return profile ? profile->convertCmyk(std::move(cmyk), width, height) : RgbImage{};
}

namespace
{

PictureColour colourOf(const JpegColourTags &tags,
                       Made (*make)(const QByteArray &, bool, SrgbTransform::Input))
{
    PictureColour colour;
    colour.ignored = tags.iccProblem;
    const SrgbTransform::Input input = tags.components == 1   ? SrgbTransform::Input::Gray
                                       : tags.components == 4 ? SrgbTransform::Input::Cmyk
                                                              : SrgbTransform::Input::Rgb;
    if (!tags.iccProfile.isEmpty()) {
        Made made = make(tags.iccProfile, false, input);
        colour.transform = std::move(made.transform);
        colour.ignored = made.why;
    } else if (tags.exifAdobeRgb && input == SrgbTransform::Input::Rgb) {
        colour.transform = make({}, true, input).transform;
    }
    return colour;
}

} // namespace

PictureColour pictureColour(const JpegColourTags &tags)
{
    return colourOf(tags, cachedTransform);
}

PictureColour freshPictureColour(const JpegColourTags &tags)
{
    return colourOf(tags, makeTransform);
}

PictureColour pictureColour(const std::uint8_t *data, std::size_t size)
{
    return pictureColour(readJpegColourTags(data, size));
}
