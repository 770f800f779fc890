// SPDX-License-Identifier: GPL-2.0-or-later
#include "fuzz/FuzzEntries.h"

#include "generator/HtmlEscape.h"
#include "media/BmpHeader.h"
#include "media/GifAnimation.h"
#include "media/GifInfo.h"
#include "media/JpegCodec.h"
#include "media/JpegHeaderReader.h"
#include "media/Metafile.h"
#include "media/PictureLimits.h"
#include "media/PictureMeasure.h"
#include "media/SrgbTransform.h"

namespace
{

const QString kName = QStringLiteral("fuzz.input");

QString checkSize(const PictureSize &size)
{
    if (!size.ok)
        return size.error.startsWith(kName + QLatin1String(": "))
                   ? QString()
                   : QStringLiteral("error does not name the file");
    if (size.width <= 0 || size.height <= 0)
        return QStringLiteral("accepted a size of %1x%2").arg(size.width).arg(size.height);
    return QString();
}

bool isPlainAscii(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() >= 0x7F)
            return false;
    return true;
}

int hexValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1; // the encoder writes upper-case digits only
}

// Reads a link value back to the name's UTF-8 bytes, as a browser would; false when it cannot.
bool decodeUrl(QString value, const QString &name, QByteArray &bytes)
{
    value.replace(QLatin1String("&amp;"), QLatin1String("&"));
    if (name.contains(QLatin1Char(':'))) {
        if (!value.startsWith(QLatin1String("./")))
            return false;
        value.remove(0, 2);
    }
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != QLatin1Char('%')) {
            bytes += char(value[i].unicode());
            continue;
        }
        if (i + 2 >= value.size() || hexValue(value[i + 1]) < 0 || hexValue(value[i + 2]) < 0)
            return false;
        bytes += char(hexValue(value[i + 1]) * 16 + hexValue(value[i + 2]));
        i += 2;
    }
    return true;
}

// Reads a text or attribute value back: the four entities and numeric references.
QString decodeText(const QString &value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != QLatin1Char('&')) {
            out += value[i];
            continue;
        }
        const qsizetype end = value.indexOf(QLatin1Char(';'), i);
        const QStringView entity = QStringView(value).sliced(i + 1, end < 0 ? 0 : end - i - 1);
        if (entity == QLatin1String("amp"))
            out += QLatin1Char('&');
        else if (entity == QLatin1String("lt"))
            out += QLatin1Char('<');
        else if (entity == QLatin1String("gt"))
            out += QLatin1Char('>');
        else if (entity == QLatin1String("quot"))
            out += QLatin1Char('"');
        else if (entity.startsWith(QLatin1Char('#'))) {
            const char32_t code = entity.sliced(1).toUInt();
            out += QString::fromUcs4(&code, 1);
        } else
            return QStringLiteral("<undecodable>");
        i = end;
    }
    return out;
}

// Counts what the decoder delivers, so that it can be held to what it announced.
class CountingSink final : public RgbRowSink
{
public:
    bool begin(int w, int h) noexcept override
    {
        width = w;
        height = h;
        return true;
    }
    void addRow(const uint8_t *) noexcept override { ++rows; }
    int width = -1;
    int height = -1;
    int rows = 0;
};

class EighthScale final : public JpegScalePlanner
{
public:
    int scaleDenominator(int, int) noexcept override { return 8; }
};

// The thumbnail decoder over the same bytes, on its error path as much as its pixels: scaled down and
// with small limits so that each input stays quick.
QString decodeAgreesWithHeader(QByteArrayView data)
{
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(data.data());
    JpegLimits limits;
    limits.maxPixels = 1 << 22;
    limits.maxCpuMilliseconds = 2000;
    EighthScale planner;
    CountingSink sink;
    // The colour tags and their profile go through the very path the thumbnails take.
    const PictureColour colour = pictureColour(bytes, size_t(data.size()));
    const JpegDecodeResult decoded =
        decodeJpeg(bytes, size_t(data.size()), planner, sink, limits, colour.forCmykRows());
    if (!decoded.ok)
        return decoded.error.isEmpty() ? QStringLiteral("decoding failed without a reason") : QString();
    if (sink.rows != sink.height)
        return QStringLiteral("decoded %1 rows of %2").arg(sink.rows).arg(sink.height);
    JpegHeaderInfo header;
    if (readJpegHeader(-1, bytes, size_t(data.size()), size_t(data.size()), header) &&
        (sink.width != int((header.width + 7) / 8) || sink.height != int((header.height + 7) / 8)))
        return QStringLiteral("decoded %1x%2 at 1/8 of a %3x%4 header")
            .arg(sink.width)
            .arg(sink.height)
            .arg(header.width)
            .arg(header.height);
    return QString();
}

} // namespace

namespace FuzzEntries
{

QString jpegHeader(QByteArrayView data)
{
    const QString measured = checkSize(measureJpegData(data, kName));
    return measured.isEmpty() ? decodeAgreesWithHeader(data) : measured;
}

QString gifHeader(QByteArrayView data)
{
    return checkSize(measureGifData(data, kName));
}

QString htmlEscape(QByteArrayView data)
{
    const QString name = QString::fromUtf8(data);
    const QString url = HtmlEscape::url(name);
    if (!isPlainAscii(url) || url.contains(QLatin1Char('<')) || url.contains(QLatin1Char('>')) ||
        url.contains(QLatin1Char('"')) || url.startsWith(QLatin1Char(' ')) || url.endsWith(QLatin1Char(' ')))
        return QStringLiteral("link value not safe: ") + url;
    QByteArray bytes;
    if (!decodeUrl(url, name, bytes) || bytes != name.toUtf8())
        return QStringLiteral("link value does not lead back to the name: ") + url;
    const QString text = HtmlEscape::text(name);
    if (!isPlainAscii(text) || text.contains(QLatin1Char('<')) || text.contains(QLatin1Char('>')) ||
        text.contains(QLatin1Char('"')))
        return QStringLiteral("text not safe: ") + text;
    if (decodeText(text) != name)
        return QStringLiteral("text does not read back as the name: ") + text;
    const QString title = HtmlEscape::title(name);
    if (!isPlainAscii(title))
        return QStringLiteral("title not plain ASCII: ") + title;
    return QString();
}

QString bmpHeader(QByteArrayView data)
{
    const BmpHeader header = readBmpHeader(data);
    if (!header.ok)
        return header.error.isEmpty() ? QStringLiteral("refused without a reason") : QString();
    if (header.width <= 0 || header.height <= 0)
        return QStringLiteral("accepted a size of %1x%2").arg(header.width).arg(header.height);
    static const QList<int> depths{0, 1, 4, 8, 15, 16, 24, 32};
    if (!depths.contains(header.bitsPerPixel))
        return QStringLiteral("depth %1 outside the table").arg(header.bitsPerPixel);
    const qint64 colours = bmpColourCount(header.bitsPerPixel);
    if ((header.bitsPerPixel == 0) != (colours == 0))
        return QStringLiteral("colour count %1 for depth %2").arg(colours).arg(header.bitsPerPixel);
    return QString();
}

QString gifCounts(QByteArrayView data)
{
    const GifLimits limits;
    const GifInfo info = readGifInfo(data, limits);
    if (!info.ok)
        return info.error.isEmpty() ? QStringLiteral("refused without a reason") : QString();
    if (info.width <= 0 || info.height <= 0 || qint64(info.width) * info.height > limits.maxScreenPixels)
        return QStringLiteral("accepted a screen of %1x%2").arg(info.width).arg(info.height);
    if (info.frames < 1 || info.frames > limits.maxFrames)
        return QStringLiteral("accepted %1 frames").arg(info.frames);
    if (info.globalColours < 0 || info.globalColours > 256)
        return QStringLiteral("%1 colour table entries").arg(info.globalColours);
    return QString();
}

// Two passes over the frames (a loop, with its disposals) on a canvas of at most 64x64; the screen is
// limited as the viewer limits it, the frames' pixels far below, so each input stays quick.
QString gifFrames(QByteArrayView data)
{
    GifLimits limits;
    limits.maxTotalFramePixels = 4'000'000;
    const GifInfo info = readGifInfo(data, limits);
    if (!info.ok)
        return QString();
    const QSize limit(64, 64);
    GifAnimation animation;
    QString error;
    if (!animation.open(data.toByteArray(), limit, &error))
        return error.isEmpty() ? QStringLiteral("refused without a reason") : QString();
    if (animation.canvasSize().isEmpty() || animation.canvasSize().width() > limit.width() ||
        animation.canvasSize().height() > limit.height())
        return QStringLiteral("a canvas of %1x%2")
            .arg(animation.canvasSize().width())
            .arg(animation.canvasSize().height());
    for (int step = 0; step < 2 * info.frames + 1 && !animation.isFinished(); ++step) {
        if (!animation.advance(&error))
            return error.isEmpty() ? QStringLiteral("failed without a reason") : QString();
        if (animation.frameIndex() < 0 || animation.frameIndex() >= info.frames)
            return QStringLiteral("frame %1 of %2").arg(animation.frameIndex()).arg(info.frames);
        if (animation.delayMs() < 20)
            return QStringLiteral("a frame held %1 ms").arg(animation.delayMs());
    }
    return QString();
}

// The first byte chooses the reader, so one corpus covers both kinds. The canvas and the CPU time
// are smaller than the viewer's: every limit is reached by the same code, many times faster.
QString metafiles(QByteArrayView data)
{
    if (data.isEmpty())
        return QString();
    const QByteArray file = data.sliced(1).toByteArray();
    MetafileLimits limits;
    limits.maxSide = 512;
    limits.maxCpuMilliseconds = 200;
    QString error;
    const QImage image = (data[0] & 1) ? renderEmf(file, &error, limits) : renderWmf(file, &error, limits);
    if (image.isNull())
        return error.isEmpty() ? QStringLiteral("refused without a reason") : QString();
    if (const int side = limits.maxSide; image.width() > side || image.height() > side)
        return QStringLiteral("drew %1x%2 beyond the canvas limit").arg(image.width()).arg(image.height());
    return QString();
}

} // namespace FuzzEntries
