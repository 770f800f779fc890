// SPDX-License-Identifier: GPL-2.0-or-later
// "start.avi", the movie the frame grabber plays unseen at start-up: two seconds of the program's
// emblem turning slowly on the deep blue band, encoded frame by frame with the program's own JPEG
// encoder into a motion-JPEG AVI.
#include "Artwork.h"
#include "MjpegAvi.h"
#include "Style.h"

#include "media/JpegCodec.h"
#include "viewing/MovieFrameSave.h"

#include <QPainter>

namespace
{

constexpr int Width = 320;
constexpr int Height = 240;
constexpr int Fps = 25;
constexpr int Frames = 50;

QImage frame(int n)
{
    QImage image(Width, Height, QImage::Format_RGB888);
    image.fill(Style::Accent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(Width / 2.0, Height / 2.0 - 14);
    p.rotate(360.0 * n / Frames / 4);
    Style::drawEmblem(p, QRect(-60, -60, 120, 120));
    p.resetTransform();
    p.setFont(Style::font(20, true));
    p.setPen(Qt::white);
    p.drawText(QRect(0, Height - 50, Width, 40), Qt::AlignCenter, QStringLiteral("Tessaloom"));
    p.end();
    return image;
}

QByteArray startMovie()
{
    QList<QByteArray> frames;
    for (int n = 0; n < Frames; ++n) {
        const QByteArray jpeg = encodeJpeg(MovieFrameSave::rgbImageOf(frame(n)), 80);
        if (jpeg.isEmpty())
            return {};
        frames.append(jpeg);
    }
    return MjpegAvi::write(frames, Width, Height, Fps);
}

} // namespace

TESSALOOM_ARTWORK("start.avi", startMovie);
