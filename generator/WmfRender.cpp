// Windows metafiles through libwmf: scanned for their bounds, then played by its GD device into a
// true-colour canvas whose pixels are copied out before the library releases its memory.
#include "generator/Metafile.h"

#include "generator/PictureMeasure.h"

#include <QtEndian>

#include <cstring>

extern "C" {
#include <libwmf/api.h>
#include <libwmf/gd.h>
}

namespace
{

constexpr double kDotsPerInch = 96.0;

QImage fail(QString *error, const QString &why)
{
    *error = why;
    return QImage();
}

QString wmfError(wmf_error_t code)
{
    switch (code) {
    case wmf_E_InsMem:
        return QStringLiteral("not enough memory for the metafile");
    case wmf_E_EOF:
        return QStringLiteral("the metafile is cut short");
    case wmf_E_BadFormat:
    case wmf_E_BadFile:
        return QStringLiteral("damaged Windows metafile");
    default:
        return QStringLiteral("the Windows metafile cannot be drawn");
    }
}

// libwmf takes any bytes for a metafile; only the two headers a Windows metafile starts with are let in.
bool looksLikeWmf(const QByteArray &file)
{
    if (file.size() < 18)
        return false;
    const auto *bytes = reinterpret_cast<const uchar *>(file.constData());
    if (qFromLittleEndian<quint32>(bytes) == 0x9AC6CDD7u)
        return file.size() >= 22 + 18;
    const quint16 type = qFromLittleEndian<quint16>(bytes);
    const quint16 headerWords = qFromLittleEndian<quint16>(bytes + 2);
    return (type == 1 || type == 2) && headerWords == 9;
}

struct Session {
    wmfAPI *api = nullptr;
    ~Session()
    {
        if (api)
            wmf_api_destroy(api); // frees every block the library took, the canvas too
    }
};

} // namespace

QImage renderWmf(const QByteArray &file, QString *error)
{
    if (!looksLikeWmf(file))
        return fail(error, QStringLiteral("not a Windows metafile"));
    wmfAPI_Options options{};
    options.function = wmf_gd_function;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    Session session;
    if (wmf_api_create(&session.api, flags, &options) != wmf_E_None || !session.api)
        return fail(error, QStringLiteral("the metafile reader could not start"));
    wmfAPI *api = session.api;
    // libwmf reads from the buffer without writing to it.
    auto *bytes = reinterpret_cast<unsigned char *>(const_cast<char *>(file.constData()));
    if (wmf_mem_open(api, bytes, long(file.size())) != wmf_E_None)
        return fail(error, wmfError(api->err));
    wmfD_Rect bounds{};
    if (wmf_scan(api, 0, &bounds) != wmf_E_None)
        return fail(error, wmfError(api->err));
    unsigned int width = 0;
    unsigned int height = 0;
    if (wmf_display_size(api, &width, &height, kDotsPerInch, kDotsPerInch) != wmf_E_None || width == 0 ||
        height == 0)
        return fail(error, QStringLiteral("the metafile declares no drawing area"));
    if (width > 65535 || height > 65535 || qint64(width) * height > MaxPicturePixels)
        return fail(error, QStringLiteral("%1x%2 exceeds the 100 megapixel limit").arg(width).arg(height));
    wmf_gd_t *device = WMF_GD_GetData(api);
    device->type = wmf_gd_image;
    device->bbox = bounds;
    device->width = width;
    device->height = height;
    if (wmf_play(api, 0, &bounds) != wmf_E_None || !device->gd_image)
        return fail(error, wmfError(api->err));
    const int *pixels = wmf_gd_image_pixels(device->gd_image);
    if (!pixels)
        return fail(error, QStringLiteral("the Windows metafile cannot be drawn"));
    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return fail(error, QStringLiteral("not enough memory for the picture"));
    for (unsigned int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(int(y)));
        for (unsigned int x = 0; x < width; ++x)
            line[x] = 0xFF000000u | (quint32(pixels[size_t(y) * width + x]) & 0xFFFFFFu);
    }
    return image;
}
