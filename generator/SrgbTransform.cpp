#include "generator/SrgbTransform.h"

#include <lcms2.h>

#include <deque>
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
    const cmsColorSpaceSignature space = cmsGetColorSpace(source);
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
        // No cache: the one-pixel cache would make the transform unsafe to share between threads.
        cmsHTRANSFORM handle =
            srgb ? cmsCreateTransform(source, format, srgb, TYPE_RGB_8, kIntent, cmsFLAGS_NOCACHE) : nullptr;
        if (srgb)
            cmsCloseProfile(srgb);
        if (handle)
            made.transform = std::make_shared<const SrgbTransform>(handle, input);
        else
            made.why = QStringLiteral("its colour profile is not supported");
    }
    cmsCloseProfile(source);
    return made;
}

// The last few transforms made, most recent first; a failure is remembered too, so it is tried once.
Made cachedTransform(const QByteArray &icc, bool exifAdobe, SrgbTransform::Input input)
{
    static std::mutex lock;
    static std::deque<std::pair<QByteArray, Made>> cache;
    const QByteArray key = (exifAdobe ? QByteArray("exif-adobe-rgb") : icc) + char('0' + int(input));
    {
        const std::lock_guard<std::mutex> guard(lock);
        for (const auto &entry : cache)
            if (entry.first == key)
                return entry.second;
    }
    Made made = makeTransform(icc, exifAdobe, input); // slow part outside the lock
    const std::lock_guard<std::mutex> guard(lock);
    cache.emplace_front(key, made);
    if (cache.size() > kCachedTransforms)
        cache.pop_back();
    return made;
}

} // namespace

SrgbTransform::~SrgbTransform()
{
    cmsDeleteTransform(static_cast<cmsHTRANSFORM>(m_handle));
}

void SrgbTransform::convert(RgbImage &image) const
{
    std::vector<uint8_t> out(image.pixels.size());
    cmsDoTransform(static_cast<cmsHTRANSFORM>(m_handle), image.pixels.data(), out.data(),
                   cmsUInt32Number(size_t(image.width) * size_t(image.height)));
    image.pixels.swap(out);
}

void SrgbTransform::convertCmykRow(const std::uint8_t *cmyk, std::uint8_t *rgb, int width) const noexcept
{
    cmsDoTransform(static_cast<cmsHTRANSFORM>(m_handle), cmyk, rgb, cmsUInt32Number(width));
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

PictureColour pictureColour(const JpegColourTags &tags)
{
    PictureColour colour;
    colour.ignored = tags.iccProblem;
    const SrgbTransform::Input input = tags.components == 1   ? SrgbTransform::Input::Gray
                                       : tags.components == 4 ? SrgbTransform::Input::Cmyk
                                                              : SrgbTransform::Input::Rgb;
    if (!tags.iccProfile.isEmpty()) {
        Made made = cachedTransform(tags.iccProfile, false, input);
        colour.transform = std::move(made.transform);
        colour.ignored = made.why;
    } else if (tags.exifAdobeRgb && input == SrgbTransform::Input::Rgb) {
        colour.transform = cachedTransform({}, true, input).transform;
    }
    return colour;
}

PictureColour pictureColour(const std::uint8_t *data, std::size_t size)
{
    return pictureColour(readJpegColourTags(data, size));
}
