// SPDX-License-Identifier: GPL-2.0-or-later
#include "Artwork.h"
#include "Style.h"

#include "media/JpegCodec.h"

#include <QPainter>
#include <QtMath>

namespace
{

// The viewer stretches these over its sound page: a steel plate with the kind's name and a drawing
// of what it holds (a wave, notes on a staff, a compressed spectrum).
enum class Kind { Wav, Midi, Mp3 };

void drawWave(QPainter &p, const QRect &area)
{
    QPainterPath wave;
    for (int x = 0; x <= area.width(); ++x) {
        const double t = double(x) / area.width();
        const double y =
            area.center().y() + area.height() * 0.42 * std::sin(t * 6 * M_PI) * std::sin(t * M_PI);
        if (x == 0)
            wave.moveTo(area.left() + x, y);
        else
            wave.lineTo(area.left() + x, y);
    }
    p.setPen(QPen(Style::Accent, 4));
    p.drawPath(wave);
}

void drawNotes(QPainter &p, const QRect &area)
{
    p.setPen(QPen(Style::Ink, 2));
    const int gap = area.height() / 6;
    for (int i = 1; i <= 5; ++i)
        p.drawLine(area.left(), area.top() + i * gap, area.right(), area.top() + i * gap);
    p.setBrush(Style::Accent);
    p.setPen(QPen(Style::Accent, 3));
    const int steps[] = {4, 3, 2, 1};
    for (int i = 0; i < 4; ++i) {
        const int x = area.left() + area.width() * (2 * i + 1) / 8;
        const int y = area.top() + steps[i] * gap;
        p.drawEllipse(QPoint(x, y), gap * 2 / 3, gap / 2);
        p.drawLine(x + gap * 2 / 3, y, x + gap * 2 / 3, y - 3 * gap);
    }
}

void drawSpectrum(QPainter &p, const QRect &area)
{
    const int bars = 12;
    const int w = area.width() / bars;
    for (int i = 0; i < bars; ++i) {
        const double level = 0.35 + 0.6 * std::fabs(std::sin(i * 0.9 + 0.4));
        const int h = int(area.height() * level);
        const QRect bar(area.left() + i * w + 2, area.bottom() - h, w - 4, h);
        p.fillRect(bar, i % 2 ? Style::Accent : Style::AccentLight);
    }
}

QByteArray soundPicture(Kind kind, const QString &caption)
{
    const QSize size(240, 180);
    QImage image = Style::body(size, 1); // the viewer stretches it to its page anyway
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        Style::drawTitleBand(p, QRect(6, 6, 228, 26), caption);
        const QRect well(16, 42, 208, 104);
        Style::drawPanel(p, well, QColor(244, 245, 248));
        const QRect inner = well.adjusted(12, 10, -12, -10);
        switch (kind) {
        case Kind::Wav:
            drawWave(p, inner);
            break;
        case Kind::Midi:
            drawNotes(p, inner);
            break;
        case Kind::Mp3:
            drawSpectrum(p, inner);
            break;
        }
        p.setFont(Style::font(13, true));
        Style::drawEngravedText(p, QRect(16, 150, 208, 24), Qt::AlignCenter,
                                caption + QStringLiteral(" sound"));
    }
    Style::bevelRectangle(image);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    RgbImage pixels;
    pixels.width = rgb.width();
    pixels.height = rgb.height();
    pixels.pixels.resize(size_t(pixels.width) * pixels.height * 3);
    for (int y = 0; y < pixels.height; ++y)
        std::copy_n(rgb.constScanLine(y), size_t(pixels.width) * 3, pixels.row(y));
    return encodeJpeg(pixels, 90);
}

QByteArray wavPicture()
{
    return soundPicture(Kind::Wav, QStringLiteral("WAV"));
}
QByteArray midiPicture()
{
    return soundPicture(Kind::Midi, QStringLiteral("MIDI"));
}
QByteArray mp3Picture()
{
    return soundPicture(Kind::Mp3, QStringLiteral("MP3"));
}

// The program's icon: the emblem on its own.
QByteArray programIcon()
{
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, true);
        Style::drawEmblem(p, image.rect());
    }
    return Style::png(image);
}

} // namespace

TESSALOOM_ARTWORK("wav.jpg", wavPicture);
TESSALOOM_ARTWORK("midi.jpg", midiPicture);
TESSALOOM_ARTWORK("mp3.jpg", mp3Picture);
TESSALOOM_ARTWORK("tessaloom.png", programIcon);
