// SPDX-License-Identifier: GPL-2.0-or-later
#include "generator/ThumbnailRender.h"

#include "generator/ThumbnailMarker.h"
#include "media/DecodeBudget.h"
#include "media/ExifOrientation.h"
#include "media/JpegCodec.h"
#include "media/PictureFile.h"
#include "media/Resampler.h"
#include "media/SrgbTransform.h"

#include <memory>
#include <optional>

namespace
{

constexpr int kQuality = 90;

int scaled(int side, int denominator)
{
    return (side + denominator - 1) / denominator;
}

// Settles the target once the header is read; builds the resampler for it.
class Planner final : public JpegScalePlanner
{
public:
    Planner(int orientation, const ThumbnailRequest &request) : m_orientation(orientation), m_request(request)
    {
    }

    int scaleDenominator(int storedWidth, int storedHeight) noexcept override
    {
        const bool swap = orientationSwapsSides(m_orientation);
        const QSize displayed = swap ? QSize(storedHeight, storedWidth) : QSize(storedWidth, storedHeight);
        target = thumbnailSize(displayed, m_request);
        storedTarget = swap ? target.transposed() : target;
        denominator = chooseScaleDenominator({storedWidth, storedHeight}, storedTarget);
        // A reduction the DCT did all by itself (to within a pixel).
        dctReducedToTarget = denominator > 1 && scaled(storedWidth, denominator) < 2 * storedTarget.width();
        return denominator;
    }

    QSize target;
    QSize storedTarget;
    int denominator = 1;
    bool dctReducedToTarget = false;

private:
    int m_orientation;
    ThumbnailRequest m_request;
};

// Forwards rows to a resampler made once the decoder knows the target.
class LateResampler final : public RgbRowSink
{
public:
    explicit LateResampler(const Planner &planner) : m_planner(planner) {}

    bool begin(int width, int height) noexcept override { return start(width, height, 3); }
    // CMYK inks are scaled first and turned into colours at the thumbnail's size.
    bool beginInks(int width, int height) noexcept override
    {
        inks = start(width, height, 4);
        return inks;
    }
    void addRow(const uint8_t *pixels) noexcept override { resampler->addRow(pixels); }

    std::optional<Resampler> resampler;
    bool inks = false;

private:
    bool start(int width, int height, int channels) noexcept
    {
        try {
            resampler.emplace(m_planner.storedTarget.width(), m_planner.storedTarget.height(),
                              m_planner.dctReducedToTarget, channels);
        } catch (...) {
            return false;
        }
        return resampler->begin(width, height);
    }

    const Planner &m_planner;
};

} // namespace

int chooseScaleDenominator(QSize stored, QSize target)
{
    for (int d : {8, 4, 2}) {
        const int w = scaled(stored.width(), d);
        const int h = scaled(stored.height(), d);
        const bool matches = w >= target.width() && w - target.width() <= 1 && h >= target.height() &&
                             h - target.height() <= 1;
        const bool roomy = w >= 2 * target.width() && h >= 2 * target.height();
        if (matches || roomy)
            return d;
    }
    return 1;
}

RgbImage thumbnailPixels(const QByteArray &file, const ThumbnailRequest &request, QString *error,
                         QString *colourIgnored)
{
    const auto *data = reinterpret_cast<const uint8_t *>(file.constData());
    const int orientation = jpegFileOrientation(data, size_t(file.size()));
    const PictureColour colour = pictureColour(data, size_t(file.size()));
    Planner planner(orientation, request);
    LateResampler sink(planner);
    JpegLimits limits;
    limits.budget = &DecodeBudget::shared();
    const JpegDecodeResult decoded =
        decodeJpeg(data, size_t(file.size()), planner, sink, limits, colour.forCmykRows());
    if (!decoded.ok) {
        if (error)
            *error = decoded.error;
        return {};
    }
    if (colourIgnored)
        *colourIgnored = colour.ignored;
    RgbImage scaled;
    if (sink.inks) {
        scaled = colour.inksToSrgb(sink.resampler->finishPixels(), planner.storedTarget.width(),
                                   planner.storedTarget.height());
    } else {
        scaled = sink.resampler->finish();
        colour.toSrgb(scaled);
    }
    return orientedImage(std::move(scaled), orientation);
}

RenderedThumbnail renderThumbnail(const QByteArray &file, const ThumbnailRequest &request,
                                  const PictureStamp &stamp)
{
    RenderedThumbnail out;
    const RgbImage upright = thumbnailPixels(file, request, &out.error, &out.colourIgnored);
    if (upright.pixels.empty())
        return out;
    out.size = QSize(upright.width, upright.height);
    const ThumbnailMarker marker{stamp.bytes,   stamp.mtimeNs, out.size,
                                 stamp.ctimeNs, stamp.inode,   stamp.name};
    out.jpeg = encodeJpeg(upright, kQuality, &out.error, marker.commentText());
    return out;
}

RenderedThumbnail renderThumbnailFile(const QString &path, const ThumbnailRequest &request)
{
    RenderedThumbnail out;
    PictureStamp stamp;
    const QByteArray file = readPictureFile(path, kMaxPictureFileBytes, &out.error, &stamp);
    return file.isEmpty() ? out : renderThumbnail(file, request, stamp);
}
