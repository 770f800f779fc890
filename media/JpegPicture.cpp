// SPDX-License-Identifier: GPL-2.0-or-later
#include "media/JpegPicture.h"

#include "media/ExifOrientation.h"
#include "media/JpegCodec.h"
#include "media/SrgbTransform.h"

#include <memory>
#include <new>

namespace
{

// Records the stored size; decodes whole, or at the DCT scale that just covers the box the picture
// is fitted into (upright, as its orientation turns it).
struct Planner final : JpegScalePlanner {
    QSize box; // empty: whole
    bool turned = false;
    QSize upright;
    int scaleDenominator(int width, int height) noexcept override
    {
        upright = turned ? QSize(height, width) : QSize(width, height);
        if (box.isEmpty() || (upright.width() <= box.width() && upright.height() <= box.height()))
            return 1;
        const QSize fitted = upright.scaled(box, Qt::KeepAspectRatio);
        for (const int d : {8, 4, 2}) {
            if ((upright.width() + d - 1) / d >= fitted.width() &&
                (upright.height() + d - 1) / d >= fitted.height())
                return d;
        }
        return 1;
    }
};

class Collector final : public RgbRowSink
{
public:
    bool begin(int width, int height) noexcept override
    {
        try {
            image.width = width;
            image.height = height;
            image.pixels.resize(size_t(width) * size_t(height) * 3);
        } catch (const std::bad_alloc &) {
            return false;
        }
        m_next = 0;
        return true;
    }
    void addRow(const uint8_t *rgb) noexcept override
    {
        if (m_next < image.height)
            std::copy(rgb, rgb + size_t(image.width) * 3, image.row(m_next++));
    }

    RgbImage image;

private:
    int m_next = 0;
};

// The image shares the decoded rows; they go when the last copy of the image goes.
QImage wrap(RgbImage pixels)
{
    auto *owned = new RgbImage(std::move(pixels));
    return QImage(
        owned->pixels.data(), owned->width, owned->height, qsizetype(owned->width) * 3, QImage::Format_RGB888,
        [](void *info) { delete static_cast<RgbImage *>(info); }, owned);
}

} // namespace

QImage decodeJpegPicture(const QByteArray &file, QString *error)
{
    return decodeJpegPictureToCover(file, QSize(), error, nullptr);
}

QImage decodeJpegPictureToCover(const QByteArray &file, const QSize &box, QString *error, QSize *fullSize)
{
    const auto *data = reinterpret_cast<const uint8_t *>(file.constData());
    const int orientation = jpegFileOrientation(data, size_t(file.size()));
    const PictureColour colour = pictureColour(data, size_t(file.size()));
    Planner planner;
    planner.box = box;
    planner.turned = orientation >= 5; // 5 to 8 turn the picture a quarter
    Collector sink;
    const JpegDecodeResult decoded =
        decodeJpeg(data, size_t(file.size()), planner, sink, {}, colour.forCmykRows());
    if (!decoded.ok || decoded.endedEarly) {
        // A cut-short file decodes with its missing part grey: shown whole, it would pass for the picture.
        if (error)
            *error = decoded.ok ? QStringLiteral("the file ends before the picture does") : decoded.error;
        return QImage();
    }
    if (fullSize)
        *fullSize = planner.upright;
    try {
        colour.toSrgb(sink.image); // a profile that cannot be used leaves the picture as it is
        return wrap(orientedImage(std::move(sink.image), orientation));
    } catch (const std::bad_alloc &) {
        if (error)
            *error = QStringLiteral("not enough memory to turn the picture upright");
        return QImage();
    }
}
