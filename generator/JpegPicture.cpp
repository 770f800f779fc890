#include "generator/JpegPicture.h"

#include "generator/ExifOrientation.h"
#include "generator/JpegCodec.h"
#include "generator/SrgbTransform.h"

#include <memory>
#include <new>

namespace
{

struct FullSize final : JpegScalePlanner {
    int scaleDenominator(int, int) noexcept override { return 1; }
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
    const auto *data = reinterpret_cast<const uint8_t *>(file.constData());
    const PictureColour colour = pictureColour(data, size_t(file.size()));
    FullSize planner;
    Collector sink;
    const JpegDecodeResult decoded =
        decodeJpeg(data, size_t(file.size()), planner, sink, {}, colour.forCmykRows());
    if (!decoded.ok) {
        if (error)
            *error = decoded.error;
        return QImage();
    }
    const int orientation = jpegFileOrientation(data, size_t(file.size()));
    try {
        colour.toSrgb(sink.image); // a profile that cannot be used leaves the picture as it is
        return wrap(orientedImage(std::move(sink.image), orientation));
    } catch (const std::bad_alloc &) {
        if (error)
            *error = QStringLiteral("not enough memory to turn the picture upright");
        return QImage();
    }
}
