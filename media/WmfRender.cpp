// Windows metafiles through libwmf: scanned for their bounds, then played by its GD device into a
// true-colour canvas whose pixels are copied out before the library releases its memory.
#include "media/Metafile.h"

#include "media/PictureLimits.h"

#include <QtEndian>

#include <cstdlib>
#include <cstring>
#include <memory>

extern "C" {
#include <libwmf/api.h>
#include <libwmf/gd.h>
#include <libwmf/gd/gd.h>
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

constexpr quint32 kPlaceableKey = 0x9AC6CDD7u;
constexpr qsizetype kPlaceableBytes = 22;
constexpr qsizetype kHeaderBytes = 18;

// The point counts of the polygon records must fit the record (libwmf trusts them).
bool pointsFit(quint16 function, const uchar *params, qint64 paramWords)
{
    const auto word = [&](qint64 i) { return qint64(qFromLittleEndian<quint16>(params + 2 * i)); };
    switch (function) {
    case 0x0324: // polygon
    case 0x0325: // polyline
        return paramWords >= 1 && 1 + 2 * word(0) <= paramWords;
    case 0x0538: { // polypolygon
        if (paramWords < 1 || 1 + word(0) > paramWords)
            return false;
        qint64 points = 0;
        for (qint64 i = 0; i < word(0); ++i)
            points += word(1 + i);
        return 1 + word(0) + 2 * points <= paramWords;
    }
    default:
        return true;
    }
}

// libwmf takes any bytes for a metafile: only a file whose headers and records all hold together,
// ending with the end record, is handed to it. Returns why not, or an empty text.
QString checkRecords(const QByteArray &file)
{
    const auto *bytes = reinterpret_cast<const uchar *>(file.constData());
    qsizetype at = 0;
    if (file.size() >= 4 && qFromLittleEndian<quint32>(bytes) == kPlaceableKey)
        at = kPlaceableBytes;
    if (file.size() - at < kHeaderBytes)
        return QStringLiteral("not a Windows metafile");
    const quint16 type = qFromLittleEndian<quint16>(bytes + at);
    const quint16 headerWords = qFromLittleEndian<quint16>(bytes + at + 2);
    if ((type != 1 && type != 2) || headerWords != 9)
        return QStringLiteral("not a Windows metafile");
    // The reader sets aside room for the largest record the header names: it must lie within the file.
    const quint32 maxRecordWords = qFromLittleEndian<quint32>(bytes + at + 12);
    if (qint64(maxRecordWords) * 2 > file.size() - at - kHeaderBytes)
        return QStringLiteral("damaged Windows metafile");
    at += kHeaderBytes;
    while (file.size() - at >= 6) {
        const quint32 words = qFromLittleEndian<quint32>(bytes + at);
        const quint16 function = qFromLittleEndian<quint16>(bytes + at + 4);
        if (words < 3 || qint64(words) * 2 > file.size() - at)
            return QStringLiteral("damaged Windows metafile");
        if (function == 0)
            return QString(); // the end record
        if (!pointsFit(function, bytes + at + 6, qint64(words) - 3))
            return QStringLiteral("damaged Windows metafile");
        at += qsizetype(words) * 2;
    }
    return QStringLiteral("the metafile ends without its last record");
}

// The GD device allocates the canvas it returns with plain malloc, outside the library's own memory
// list, and the library does not export GD's destroy call: free it the way GD does.
void releaseCanvas(void *canvas)
{
    auto *image = static_cast<gdImagePtr>(canvas);
    if (!image)
        return;
    std::free(image->_tpixels); // a true-colour canvas: its rows point into this one block
    std::free(image->tpixels);
    std::free(image->polyInts);
    std::free(image->style);
    if (image->clip) {
        std::free(image->clip->list);
        std::free(image->clip);
    }
    std::free(image);
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
    if (const QString why = checkRecords(file); !why.isEmpty())
        return fail(error, why);
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
    const wmf_error_t played = wmf_play(api, 0, &bounds);
    const std::unique_ptr<void, void (*)(void *)> canvas(device->gd_image, releaseCanvas);
    if (played != wmf_E_None || !canvas)
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
