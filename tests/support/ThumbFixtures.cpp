// SPDX-License-Identifier: GPL-2.0-or-later
#include "ThumbFixtures.h"

#include <QFile>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace ThumbFixtures
{

namespace
{

// The stored picture that shows as `displayed` under the orientation (written with Qt's own turns).
QImage storedFor(const QImage &displayed, int orientation)
{
    switch (orientation) {
    case 2:
        return displayed.mirrored(true, false);
    case 3:
        return displayed.transformed(QTransform().rotate(180));
    case 4:
        return displayed.mirrored(false, true);
    case 5:
        return displayed.transformed(QTransform().rotate(90)).mirrored(true, false);
    case 6:
        return displayed.transformed(QTransform().rotate(-90));
    case 7:
        return displayed.transformed(QTransform().rotate(-90)).mirrored(true, false);
    case 8:
        return displayed.transformed(QTransform().rotate(90));
    default:
        return displayed;
    }
}

QByteArray exifSegment(int orientation, bool bigEndian)
{
    QByteArray e("Exif\0\0", 6);
    auto u16 = [&](int v) {
        if (bigEndian)
            e.append(char(v >> 8)).append(char(v & 0xFF));
        else
            e.append(char(v & 0xFF)).append(char(v >> 8));
    };
    auto u32 = [&](int v) {
        if (bigEndian) {
            u16(v >> 16);
            u16(v & 0xFFFF);
        } else {
            u16(v & 0xFFFF);
            u16(v >> 16);
        }
    };
    e.append(bigEndian ? "MM" : "II");
    u16(42);
    u32(8);
    u16(2); // two entries: something else first, then the orientation
    u16(0x010F);
    u16(2);
    u32(4);
    e.append("Cam", 4);
    u16(0x0112);
    u16(3);
    u32(1);
    u16(orientation);
    u16(0);
    u32(0);
    return e;
}

// EXIF that marks Adobe RGB the camera way: IFD0 -> Exif IFD (ColorSpace 0xFFFF) -> interoperability
// IFD (index "R03"). Big-endian.
QByteArray adobeExifSegment()
{
    QByteArray e("Exif\0\0MM\0\x2A\0\0\0\x08", 14);
    auto u16 = [&](int v) { e.append(char(v >> 8)).append(char(v & 0xFF)); };
    auto u32 = [&](int v) {
        u16(v >> 16);
        u16(v & 0xFFFF);
    };
    auto entry = [&](int tag, int type, int count, int value, bool shortValue) {
        u16(tag);
        u16(type);
        u32(count);
        if (shortValue) {
            u16(value);
            u16(0);
        } else {
            u32(value);
        }
    };
    // IFD0 at 8: one entry, the Exif IFD at 26.
    u16(1);
    entry(0x8769, 4, 1, 26, false);
    u32(0);
    // Exif IFD at 26: ColorSpace, interoperability IFD at 56.
    u16(2);
    entry(0xA001, 3, 1, 0xFFFF, true);
    entry(0xA005, 4, 1, 56, false);
    u32(0);
    // Interoperability IFD at 56: index "R03".
    u16(1);
    u16(0x0001);
    u16(2);
    u32(4);
    e.append("R03", 4);
    u32(0);
    return e;
}

void writeIccChunks(jpeg_compress_struct *cinfo, const QByteArray &profile, int chunkBytes)
{
    const int step = chunkBytes > 0 ? chunkBytes : 65519;
    const int count = int((profile.size() + step - 1) / step);
    for (int i = 0; i < count; ++i) {
        QByteArray chunk("ICC_PROFILE", 12);
        chunk.append(char(i + 1)).append(char(count)).append(profile.mid(qsizetype(i) * step, step));
        jpeg_write_marker(cinfo, JPEG_APP0 + 2, reinterpret_cast<const JOCTET *>(chunk.constData()),
                          unsigned(chunk.size()));
    }
}

void silentError(j_common_ptr cinfo)
{
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    std::fprintf(stderr, "fixture writer: %s\n", text);
    std::abort(); // fixtures are ours: a failure here is a broken test
}

} // namespace

QByteArray jpeg(const QImage &displayed, const Jpeg &how)
{
    const QImage stored = storedFor(displayed, how.orientation).convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    err.error_exit = silentError;
    jpeg_create_compress(&cinfo);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(stored.width());
    cinfo.image_height = JDIMENSION(stored.height());
    const bool gray = how.colour == Colour::Gray;
    const bool cmyk =
        how.colour == Colour::Cmyk || how.colour == Colour::AdobeCmyk || how.colour == Colour::AdobeYcck;
    cinfo.input_components = gray ? 1 : cmyk ? 4 : 3;
    cinfo.in_color_space = gray ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    if (how.colour == Colour::AdobeYcck)
        jpeg_set_colorspace(&cinfo, JCS_YCCK);
    if (how.colour == Colour::Cmyk)
        cinfo.write_Adobe_marker = FALSE;
    jpeg_set_quality(&cinfo, how.quality, TRUE);
    if (how.progressive)
        jpeg_simple_progression(&cinfo);
    cinfo.arith_code = how.arithmetic ? TRUE : FALSE;
    cinfo.restart_in_rows = how.restartRows;
    jpeg_start_compress(&cinfo, TRUE);
    if (how.orientation != 1) {
        const QByteArray exif = exifSegment(how.orientation, how.bigEndianExif);
        jpeg_write_marker(&cinfo, JPEG_APP0 + 1, reinterpret_cast<const JOCTET *>(exif.constData()),
                          unsigned(exif.size()));
    }
    if (how.exifAdobeRgb) {
        const QByteArray exif = adobeExifSegment();
        jpeg_write_marker(&cinfo, JPEG_APP0 + 1, reinterpret_cast<const JOCTET *>(exif.constData()),
                          unsigned(exif.size()));
    }
    if (!how.iccProfile.isEmpty())
        writeIccChunks(&cinfo, how.iccProfile, how.iccChunkBytes);
    std::vector<JSAMPLE> row(size_t(stored.width()) * 4);
    while (cinfo.next_scanline < cinfo.image_height) {
        const uchar *in = stored.constScanLine(int(cinfo.next_scanline));
        for (int x = 0; x < stored.width(); ++x) {
            const int r = in[x * 3], g = in[x * 3 + 1], b = in[x * 3 + 2];
            if (gray) {
                row[size_t(x)] = JSAMPLE((r * 299 + g * 587 + b * 114 + 500) / 1000);
            } else if (cmyk) {
                const int k = 255 - std::max({r, g, b});
                const int c = k == 255 ? 0 : (255 - r - k) * 255 / (255 - k);
                const int m = k == 255 ? 0 : (255 - g - k) * 255 / (255 - k);
                const int y = k == 255 ? 0 : (255 - b - k) * 255 / (255 - k);
                const bool inverted = how.colour != Colour::Cmyk; // Adobe files store inverted inks
                const int v[4] = {c, m, y, k};
                for (int i = 0; i < 4; ++i)
                    row[size_t(x) * 4 + size_t(i)] = JSAMPLE(inverted ? 255 - v[i] : v[i]);
            } else {
                row[size_t(x) * 3] = JSAMPLE(r);
                row[size_t(x) * 3 + 1] = JSAMPLE(g);
                row[size_t(x) * 3 + 2] = JSAMPLE(b);
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    QByteArray out(reinterpret_cast<const char *>(buffer), qsizetype(size));
    std::free(buffer);
    return out;
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeJpeg(const QString &path, const QImage &displayed, const Jpeg &how)
{
    return writeFile(path, jpeg(displayed, how));
}

QImage edgePicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(128, 128, 128));
    QPainter p(&image);
    const int band = std::max(2, std::min(size.width(), size.height()) / 6);
    p.fillRect(0, size.height() - band, size.width(), band, Qt::white);
    p.fillRect(0, 0, band, size.height(), QColor(0, 200, 0));
    p.fillRect(size.width() - band, 0, band, size.height(), QColor(0, 0, 255));
    p.fillRect(0, 0, size.width(), band, QColor(255, 0, 0));
    return image;
}

QImage solidPicture(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QImage photoPicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y,
                           qRgb((x * 255) / size.width(), (y * 255) / size.height(),
                                128 + ((x * 7 + y * 13) % 31) - 15));
    return image;
}

QByteArray declaredSizeBomb(int width, int height)
{
    QByteArray data = jpeg(solidPicture({16, 16}, Qt::gray));
    const int sof = data.indexOf(QByteArray("\xFF\xC0", 2));
    data[sof + 5] = char(height >> 8);
    data[sof + 6] = char(height & 0xFF);
    data[sof + 7] = char(width >> 8);
    data[sof + 8] = char(width & 0xFF);
    return data;
}

QByteArray scanBomb(int scans)
{
    Jpeg how;
    how.progressive = true;
    QByteArray data = jpeg(photoPicture({64, 64}), how);
    const int lastScan = data.lastIndexOf(QByteArray("\xFF\xDA", 2));
    const int end = data.lastIndexOf(QByteArray("\xFF\xD9", 2));
    const QByteArray scan = data.mid(lastScan, end - lastScan);
    QByteArray bomb = data.left(end);
    for (int i = 0; i < scans; ++i)
        bomb += scan;
    return bomb + QByteArray("\xFF\xD9", 2);
}

JpegFacts facts(const QByteArray &jpeg)
{
    JpegFacts f;
    const auto *d = reinterpret_cast<const uchar *>(jpeg.constData());
    int at = 2;
    while (at + 4 <= jpeg.size() && d[at] == 0xFF) {
        const int marker = d[at + 1];
        const int length = d[at + 2] << 8 | d[at + 3];
        if (marker == 0xDB && f.firstLumaQuant < 0 && at + 5 < jpeg.size())
            f.firstLumaQuant = d[at + 5]; // table 0, 8-bit entries: the DC value
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            f.baseline = marker == 0xC0;
            f.precision = d[at + 4];
            f.size = QSize(d[at + 7] << 8 | d[at + 8], d[at + 5] << 8 | d[at + 6]);
            f.components = d[at + 9];
        }
        if (marker == 0xDA)
            break;
        at += 2 + length;
    }
    return f;
}

QColor meanColour(const QImage &image, const QRect &area)
{
    qint64 r = 0, g = 0, b = 0, n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            r += qRed(p);
            g += qGreen(p);
            b += qBlue(p);
            ++n;
        }
    return n ? QColor(int(r / n), int(g / n), int(b / n)) : QColor();
}

} // namespace ThumbFixtures
