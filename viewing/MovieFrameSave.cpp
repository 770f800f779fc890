// SPDX-License-Identifier: GPL-2.0-or-later
#include "viewing/MovieFrameSave.h"

#include "generator/PageBuilder.h"
#include "media/JpegCodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstring>

namespace
{

QString tr(const char *text)
{
    return QCoreApplication::translate("MovieFrameSave", text);
}

} // namespace

RgbImage MovieFrameSave::rgbImageOf(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    RgbImage out;
    out.width = rgb.width();
    out.height = rgb.height();
    out.pixels.resize(size_t(out.width) * size_t(out.height) * 3);
    for (int y = 0; y < out.height; ++y)
        std::memcpy(out.row(y), rgb.constScanLine(y), size_t(out.width) * 3);
    return out;
}

QSize MovieFrameSave::savedSize(const QSize &frame)
{
    if (frame.width() < 7 || frame.height() < 7)
        return {};
    return {qMin(frame.width() - 6, MaxWidth), qMin(frame.height() - 6, MaxHeight)};
}

QString MovieFrameSave::picturePathOf(const QString &moviePath)
{
    const QFileInfo movie(moviePath);
    return QDir(movie.path()).filePath(MoviePictureName(movie.fileName()));
}

MovieFrameSave::Result MovieFrameSave::save(const QImage &frame, const QString &moviePath,
                                            SafeFile::Replace mode)
{
    Result result;
    result.path = QDir::toNativeSeparators(picturePathOf(moviePath));
    if (frame.isNull()) {
        result.error = tr("%1 has no picture to save.").arg(QDir::toNativeSeparators(moviePath));
        return result;
    }
    const QSize size = savedSize(frame.size());
    if (size.isEmpty()) {
        result.error = tr("The picture of %1 is only %2 x %3 pixels; at least 7 x 7 are needed to save it.")
                           .arg(QDir::toNativeSeparators(moviePath))
                           .arg(frame.width())
                           .arg(frame.height());
        return result;
    }
    QString reason;
    const QByteArray jpeg =
        encodeJpeg(rgbImageOf(frame.copy(Margin, Margin, size.width(), size.height())), Quality, &reason);
    if (jpeg.isEmpty()) {
        result.error = tr("%1 could not be encoded: %2").arg(result.path, reason);
        return result;
    }
    reason = SafeFile::writeAtomically(result.path, jpeg, mode);
    if (!reason.isEmpty())
        result.error = tr("%1 could not be written: %2").arg(result.path, reason);
    return result;
}

MovieFrameSave::Result MovieFrameSave::saveFrameOf(const QString &moviePath, const FrameSource &frames)
{
    QString reason;
    const QImage frame = frames(moviePath, &reason);
    if (frame.isNull())
        return {QDir::toNativeSeparators(picturePathOf(moviePath)),
                tr("%1 cannot be played: %2").arg(QDir::toNativeSeparators(moviePath), reason)};
    return save(frame, moviePath, SafeFile::Replace::Never);
}
