// SPDX-License-Identifier: GPL-2.0-or-later
#include "ColourFixtures.h"

#include <QFile>
#include <QImage>
#include <QProcess>

#include <cmath>

#include <lcms2.h>

namespace ColourFixtures
{

namespace
{

QByteArray saved(cmsHPROFILE profile)
{
    cmsUInt32Number size = 0;
    QByteArray bytes;
    if (profile && cmsSaveProfileToMem(profile, nullptr, &size)) {
        bytes.resize(qsizetype(size));
        cmsSaveProfileToMem(profile, bytes.data(), &size);
    }
    if (profile)
        cmsCloseProfile(profile);
    return bytes;
}

QByteArray rgbProfile(const cmsCIExyY &white, const cmsCIExyYTRIPLE &primaries, cmsToneCurve *curve)
{
    cmsToneCurve *curves[3] = {curve, curve, curve};
    const QByteArray bytes = saved(cmsCreateRGBProfile(&white, &primaries, curves));
    cmsFreeToneCurve(curve);
    return bytes;
}

cmsToneCurve *srgbCurve()
{
    const cmsFloat64Number p[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    return cmsBuildParametricToneCurve(nullptr, 4, p);
}

// The press: inks multiplied, then darkened and warmed, given as Lab through sRGB.
cmsInt32Number pressSample(const cmsUInt16Number in[], cmsUInt16Number out[], void *toLab)
{
    const double k = 1 - in[3] / 65535.0;
    const double rgb[3] = {(1 - in[0] / 65535.0) * k, (1 - in[1] / 65535.0) * k, (1 - in[2] / 65535.0) * k};
    const double warm[3] = {1.0, 0.92, 0.78};
    cmsUInt16Number device[3];
    for (int i = 0; i < 3; ++i)
        device[i] = cmsUInt16Number(std::lround(std::pow(rgb[i], 1.6) * warm[i] * 65535));
    cmsDoTransform(static_cast<cmsHTRANSFORM>(toLab), device, out, 1);
    return TRUE;
}

QByteArray cmykProfile()
{
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    cmsHTRANSFORM toLab =
        cmsCreateTransform(srgb, TYPE_RGB_16, lab, TYPE_Lab_16, INTENT_RELATIVE_COLORIMETRIC, 0);
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 4.3);
    cmsSetDeviceClass(profile, cmsSigOutputClass);
    cmsSetColorSpace(profile, cmsSigCmykData);
    cmsSetPCS(profile, cmsSigLabData);
    cmsPipeline *a2b = cmsPipelineAlloc(nullptr, 4, 3);
    cmsStage *grid = cmsStageAllocCLut16bit(nullptr, 9, 4, 3, nullptr);
    cmsStageSampleCLut16bit(grid, pressSample, toLab, 0);
    // The A curves, the grid, the B curves: the layout of a LUT-based profile's A2B table.
    cmsPipelineInsertStage(a2b, cmsAT_END, cmsStageAllocToneCurves(nullptr, 4, nullptr));
    cmsPipelineInsertStage(a2b, cmsAT_END, grid);
    cmsPipelineInsertStage(a2b, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    cmsWriteTag(profile, cmsSigAToB0Tag, a2b);
    cmsWriteTag(profile, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    cmsMLU *text = cmsMLUalloc(nullptr, 1);
    cmsMLUsetASCII(text, "en", "US", "Test press");
    cmsWriteTag(profile, cmsSigProfileDescriptionTag, text);
    cmsMLUfree(text);
    cmsPipelineFree(a2b);
    cmsDeleteTransform(toLab);
    cmsCloseProfile(lab);
    cmsCloseProfile(srgb);
    return saved(profile);
}

struct Lab {
    double l, a, b;
};

Lab toLab(const QColor &c)
{
    auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    const double r = linear(c.redF()), g = linear(c.greenF()), b = linear(c.blueF());
    const double x = (0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047;
    const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
    const double z = (0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883;
    auto f = [](double t) { return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116; };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

} // namespace

QByteArray profile(Profile kind)
{
    const cmsCIExyY d65{0.3127, 0.3290, 1.0};
    const cmsCIExyY d50{0.3457, 0.3585, 1.0};
    switch (kind) {
    case Profile::None:
        return {};
    case Profile::Srgb:
        return saved(cmsCreate_sRGBProfile());
    case Profile::DisplayP3:
        return rgbProfile(d65, {{0.680, 0.320, 1}, {0.265, 0.690, 1}, {0.150, 0.060, 1}}, srgbCurve());
    case Profile::AdobeRgb:
        return rgbProfile(d65, {{0.64, 0.33, 1}, {0.21, 0.71, 1}, {0.15, 0.06, 1}},
                          cmsBuildGamma(nullptr, 563.0 / 256.0));
    case Profile::ProPhoto:
        return rgbProfile(d50, {{0.7347, 0.2653, 1}, {0.1596, 0.8404, 1}, {0.0366, 0.0001, 1}},
                          cmsBuildGamma(nullptr, 1.8));
    case Profile::LinearGray: {
        cmsToneCurve *linear = cmsBuildGamma(nullptr, 1.0);
        const QByteArray bytes = saved(cmsCreateGrayProfile(cmsD50_xyY(), linear));
        cmsFreeToneCurve(linear);
        return bytes;
    }
    case Profile::Cmyk:
        return cmykProfile();
    }
    return {};
}

QColor jpgiccMiddleColour(const QString &jpegPath, const QString &workFolder, const QStringList &flags)
{
    const QString out = workFolder + QStringLiteral("/jpgicc-out.jpg");
    QFile::remove(out);
    QProcess jpgicc;
    jpgicc.start(QStringLiteral("jpgicc"),
                 QStringList{QStringLiteral("-q100")} + flags + QStringList{jpegPath, out});
    if (!jpgicc.waitForFinished(60000) || jpgicc.exitCode() != 0)
        return {};
    const QImage image(out);
    return image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
}

std::vector<unsigned char> lcmsToSrgb(const QByteArray &profile, const std::vector<unsigned char> &pixels,
                                      int channels)
{
    cmsHPROFILE source = cmsOpenProfileFromMem(profile.constData(), cmsUInt32Number(profile.size()));
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    const cmsUInt32Number format = channels == 4 ? TYPE_CMYK_8 : TYPE_RGB_8;
    cmsHTRANSFORM transform =
        source ? cmsCreateTransform(source, format, srgb, TYPE_RGB_8, INTENT_PERCEPTUAL, 0) : nullptr;
    std::vector<unsigned char> out;
    if (transform) {
        const size_t count = pixels.size() / size_t(channels);
        out.resize(count * 3);
        cmsDoTransform(transform, pixels.data(), out.data(), cmsUInt32Number(count));
        cmsDeleteTransform(transform);
    }
    if (source)
        cmsCloseProfile(source);
    cmsCloseProfile(srgb);
    return out;
}

double deltaE76(const QColor &a, const QColor &b)
{
    const Lab p = toLab(a), q = toLab(b);
    return std::sqrt((p.l - q.l) * (p.l - q.l) + (p.a - q.a) * (p.a - q.a) + (p.b - q.b) * (p.b - q.b));
}

} // namespace ColourFixtures
