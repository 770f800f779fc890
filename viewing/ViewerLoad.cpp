// SPDX-License-Identifier: GPL-2.0-or-later
#include "viewing/ViewerLoad.h"

#include "media/BmpHeader.h"
#include "media/JpegPicture.h"
#include "media/Metafile.h"
#include "media/PictureFile.h"
#include "media/PictureLimits.h"
#include "media/PictureMeasure.h"

#include <QBuffer>
#include <QImageReader>

namespace
{

constexpr int kMaxDecodeMegabytes = 1024; // the same 1 GiB the JPEG decoder may use

ViewerPicture failed(const QString &why)
{
    ViewerPicture picture;
    picture.error = why;
    return picture;
}

// A picture through one of Qt's own readers, in the given format only (never guessed from content).
QImage readWithQt(const QByteArray &bytes, const char *format, QString *error)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    reader.setAllocationLimit(kMaxDecodeMegabytes);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > MaxPicturePixels) {
        *error = QStringLiteral("%1x%2 exceeds the 100 megapixel limit").arg(size.width()).arg(size.height());
        return QImage();
    }
    QImage image = reader.read();
    if (image.isNull())
        *error = reader.errorString();
    return image;
}

} // namespace

ViewerPicture loadViewerGif(const QString &path)
{
    QString error;
    QByteArray bytes = readPictureFile(path, kMaxPictureFileBytes, &error);
    if (!error.isEmpty())
        return failed(error);
    const GifInfo info = readGifInfo(bytes);
    if (!info.ok)
        return failed(info.error);
    ViewerPicture picture;
    picture.ok = true;
    picture.gif = info;
    picture.gifData = std::move(bytes);
    return picture;
}

ViewerPicture loadViewerJpeg(const QString &path, const QSize &fitInto)
{
    QString error;
    const QByteArray bytes = readPictureFile(path, kMaxPictureFileBytes, &error);
    if (!error.isEmpty())
        return failed(error);
    ViewerPicture picture;
    picture.image = decodeJpegPictureToCover(bytes, fitInto, &error, &picture.fullSize);
    if (picture.image.isNull())
        return failed(error);
    picture.ok = true;
    picture.bitsPerPixel = 24; // decoded into true colour, grayscale too
    return picture;
}

ViewerPicture loadViewerBmp(const QString &path)
{
    QString error;
    const QByteArray bytes = readPictureFile(path, kMaxPictureFileBytes, &error);
    if (!error.isEmpty())
        return failed(error);
    const BmpHeader header = readBmpHeader(bytes);
    if (!header.ok)
        return failed(header.error);
    if (qint64(header.width) * header.height > MaxPicturePixels)
        return failed(
            QStringLiteral("%1x%2 exceeds the 100 megapixel limit").arg(header.width).arg(header.height));
    ViewerPicture picture;
    picture.image = readWithQt(bytes, "bmp", &error);
    if (picture.image.isNull())
        return failed(error);
    picture.ok = true;
    picture.bitsPerPixel = header.bitsPerPixel;
    return picture;
}

ViewerPicture loadViewerWin(const QString &path)
{
    QString error;
    const QByteArray bytes = readPictureFile(path, kMaxPictureFileBytes, &error);
    if (!error.isEmpty())
        return failed(error);
    ViewerPicture picture;
    if (path.endsWith(QLatin1String(".ico"), Qt::CaseInsensitive))
        picture.image = readWithQt(bytes, "ico", &error);
    else if (path.endsWith(QLatin1String(".emf"), Qt::CaseInsensitive))
        picture.image = renderEmf(bytes, &error);
    else
        picture.image = renderWmf(bytes, &error);
    if (picture.image.isNull())
        return failed(error.isEmpty() ? QStringLiteral("not a picture that can be shown") : error);
    picture.ok = true;
    return picture;
}
