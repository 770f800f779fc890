// SPDX-License-Identifier: GPL-2.0-or-later
#include "Style.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <optional>

namespace Style
{

namespace
{

// A fixed hash, so every build draws the same grain.
int grain(int x, int y, uint32_t seed)
{
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return int(h & 0xff);
}

QColor mix(const QColor &a, const QColor &b, double t)
{
    return QColor(int(a.red() + (b.red() - a.red()) * t), int(a.green() + (b.green() - a.green()) * t),
                  int(a.blue() + (b.blue() - a.blue()) * t));
}

int clampChannel(int v)
{
    return std::clamp(v, 1, 255);
} // never reaches the key's pure black

int scaleOf(const QImage &image)
{
    return std::max(1, qRound(image.devicePixelRatio()));
}

// Brushed steel: light at the top, darker below, with faint horizontal strokes. At a larger scale the
// strokes keep their length and the grain is as fine as the pixels.
QImage brushedSteel(const QSize &logicalSize, int scale)
{
    QImage image = canvas(logicalSize, scale);
    const QSize size = image.size();
    const QColor top(228, 231, 237), middle(200, 204, 212), bottom(164, 170, 183);
    for (int y = 0; y < size.height(); ++y) {
        const double t = size.height() > 1 ? double(y) / (size.height() - 1) : 0;
        const QColor row = t < 0.45 ? mix(top, middle, t / 0.45) : mix(middle, bottom, (t - 0.45) / 0.55);
        const int rowShade = grain(0, y, 7) % 5 - 2;
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            // Strokes: the grain changes slowly along x and quickly across rows.
            const int stroke =
                (grain(x / (9 * scale), y, 11) + grain((x + 4 * scale) / (9 * scale), y, 11)) / 2 % 5 - 2;
            const int fine = grain(x, y, 3) % 3 - 1;
            const int d = rowShade + stroke + fine;
            line[x] = qRgb(clampChannel(row.red() + d), clampChannel(row.green() + d),
                           clampChannel(row.blue() + d + 1));
        }
    }
    return image;
}

// Worked out on the 1x pixels (the outline's own), each applied to its block of the picture's pixels:
// the bevel is as wide at every scale and follows the very same outline.
void bevelImpl(QImage &image, std::optional<QRgb> key)
{
    const int scale = scaleOf(image);
    const QImage source = image.convertToFormat(QImage::Format_RGB32);
    const int w = source.width() / scale, h = source.height() / scale;
    auto outside = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h)
            return true;
        return key && (source.pixel(x * scale, y * scale) & 0xffffff) == (*key & 0xffffff);
    };
    const auto forBlock = [&](int x, int y, const auto &change) {
        for (int dy = 0; dy < scale; ++dy)
            for (int dx = 0; dx < scale; ++dx)
                image.setPixel(x * scale + dx, y * scale + dy,
                               change(image.pixel(x * scale + dx, y * scale + dy)));
    };
    const QColor light(255, 255, 255), shade(96, 102, 118);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (outside(x, y))
                continue;
            bool edge = false;
            for (int dy = -1; dy <= 1 && !edge; ++dy)
                for (int dx = -1; dx <= 1 && !edge; ++dx)
                    edge = outside(x + dx, y + dy);
            if (edge) {
                forBlock(x, y, [](QRgb) { return Edge.rgb(); });
                continue;
            }
            for (int ring = 2; ring <= 3; ++ring) {
                const bool upperLeft = outside(x - ring, y) || outside(x, y - ring);
                const bool lowerRight = outside(x + ring, y) || outside(x, y + ring);
                if (upperLeft == lowerRight)
                    continue;
                const double strength = ring == 2 ? 0.75 : 0.35;
                forBlock(x, y, [&](QRgb pixel) {
                    const QColor base = QColor::fromRgb(pixel);
                    return (upperLeft ? mix(base, light, strength) : mix(base, shade, strength * 0.8)).rgb();
                });
                break;
            }
        }
    }
}

} // namespace

QFont font(int pixelSize, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

QFont serifFont(int pixelSize, bool bold)
{
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

QPainterPath roundedOutline(const QRect &rect, int radius)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(rect), radius, radius);
    return path;
}

QImage canvas(const QSize &size, int scale, QImage::Format format)
{
    QImage image(size * scale, format);
    image.setDevicePixelRatio(scale);
    return image;
}

QImage body(const QSize &size, int scale, const QPainterPath &shape, const QColor &key)
{
    QImage stencil(size, QImage::Format_RGB32);
    stencil.fill(Qt::white);
    {
        QPainter p(&stencil);
        p.setRenderHint(QPainter::Antialiasing, false); // a hard edge: the key cuts whole pixels
        p.fillPath(shape, QColor(Qt::red));
    }
    // The stencil is the outline at 1x at every scale: each of its pixels cuts a block.
    QImage image = brushedSteel(size, scale);
    const QRgb keyRgb = key.rgb();
    for (int y = 0; y < image.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(stencil.constScanLine(y / scale));
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (in[x / scale] != qRgb(255, 0, 0))
                out[x] = keyRgb;
        }
    }
    return image;
}

QImage body(const QSize &size, int scale)
{
    return brushedSteel(size, scale);
}

void bevel(QImage &image, const QColor &key)
{
    bevelImpl(image, key.rgb());
}

void bevelRectangle(QImage &image)
{
    bevelImpl(image, std::nullopt);
}

void keepOutline(QImage &scaled, const QImage &normal, const QColor &key)
{
    const int scale = scaled.width() / normal.width();
    const QRgb keyRgb = key.rgb() & 0xffffff;
    for (int y = 0; y < scaled.height(); ++y) {
        for (int x = 0; x < scaled.width(); ++x) {
            const QRgb wanted = normal.pixel(x / scale, y / scale);
            const bool cut = (wanted & 0xffffff) == keyRgb;
            const bool isCut = (scaled.pixel(x, y) & 0xffffff) == keyRgb;
            if (cut != isCut)
                scaled.setPixel(x, y, wanted);
        }
    }
}

void alignHairlines(QPainter &painter)
{
    if (painter.device() && painter.device()->devicePixelRatio() > 1)
        painter.translate(0.5, 0.5);
}

QImage windowSkin(const QSize &size, int scale, const QString &caption, const QColor &key)
{
    const int width = size.width(), height = size.height();
    QImage image = body(size, scale, roundedOutline(QRect(0, 0, width, height), 14), key);
    {
        QPainter p(&image);
        drawTitleBand(p, QRect(7, 7, width - 14, 26), caption);
    }
    bevel(image, key);
    return image;
}

void drawTitleBand(QPainter &painter, const QRect &band, const QString &caption)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const qreal radius = std::min(9, band.height() / 2);
    QLinearGradient fill(band.topLeft(), band.bottomLeft());
    fill.setColorAt(0, AccentLight);
    fill.setColorAt(0.5, mix(AccentLight, Accent, 0.6));
    fill.setColorAt(0.52, Accent);
    fill.setColorAt(1, mix(Accent, QColor(8, 20, 60), 0.5));
    painter.setPen(QPen(QColor(12, 30, 80), 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(band).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    // Gloss on the upper half.
    painter.setPen(QPen(QColor(255, 255, 255, 110), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(QPointF(band.left() + radius, band.top() + 1.5),
                     QPointF(band.right() - radius, band.top() + 1.5));
    const int emblemSize = band.height() - 6;
    drawEmblem(painter, QRect(band.left() + 6, band.top() + 3, emblemSize, emblemSize));
    QFont f = font(std::max(9, band.height() * 13 / 26), true);
    painter.setFont(f);
    const QRect text = band.adjusted(emblemSize + 14, 0, -10, 0);
    painter.setPen(QColor(6, 16, 48));
    painter.drawText(text.translated(1, 1), Qt::AlignVCenter | Qt::AlignLeft, caption);
    painter.setPen(QColor(250, 252, 255));
    painter.drawText(text, Qt::AlignVCenter | Qt::AlignLeft, caption);
    painter.restore();
}

void drawSlimBand(QPainter &painter, const QRect &band, const QString &caption)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient fill(band.topLeft(), band.bottomLeft());
    fill.setColorAt(0, AccentLight);
    fill.setColorAt(1, Accent);
    painter.setPen(QPen(QColor(12, 30, 80), 1));
    painter.setBrush(fill);
    const qreal radius = band.height() / 2.0;
    painter.drawRoundedRect(QRectF(band).adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    if (!caption.isEmpty()) {
        painter.setFont(font(std::max(8, band.height() - 3), true));
        painter.setPen(QColor(6, 16, 48));
        painter.drawText(band.translated(1, 1), Qt::AlignCenter, caption);
        painter.setPen(QColor(250, 252, 255));
        painter.drawText(band, Qt::AlignCenter, caption);
    }
    painter.restore();
}

void drawPanel(QPainter &painter, const QRect &area, const QColor &fill)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (fill.isValid())
        painter.fillRect(area.adjusted(2, 2, -2, -2), fill);
    alignHairlines(painter);
    const QRect r = area.adjusted(0, 0, -1, -1);
    painter.setPen(QColor(128, 134, 148)); // outer upper-left
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(QColor(74, 80, 96)); // inner upper-left
    painter.drawLine(r.left() + 1, r.top() + 1, r.right() - 1, r.top() + 1);
    painter.drawLine(r.left() + 1, r.top() + 1, r.left() + 1, r.bottom() - 1);
    painter.setPen(QColor(252, 253, 255)); // outer lower-right
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    painter.setPen(QColor(212, 216, 224)); // inner lower-right
    painter.drawLine(r.left() + 1, r.bottom() - 1, r.right() - 1, r.bottom() - 1);
    painter.drawLine(r.right() - 1, r.top() + 1, r.right() - 1, r.bottom() - 1);
    painter.restore();
}

void drawRaisedPanel(QPainter &painter, const QRect &area)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRect r = area.adjusted(0, 0, -1, -1);
    QLinearGradient fill(area.topLeft(), area.bottomLeft());
    fill.setColorAt(0, QColor(226, 229, 235, 140));
    fill.setColorAt(1, QColor(176, 182, 194, 140));
    painter.fillRect(area, fill);
    alignHairlines(painter);
    painter.setPen(QColor(252, 253, 255));
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(QColor(96, 102, 118));
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    painter.restore();
}

void drawGroove(QPainter &painter, int x1, int x2, int y)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    alignHairlines(painter);
    painter.setPen(QColor(120, 126, 140));
    painter.drawLine(x1, y, x2, y);
    painter.setPen(QColor(250, 251, 253));
    painter.drawLine(x1, y + 1, x2, y + 1);
    painter.restore();
}

void drawEngravedText(QPainter &painter, const QRect &area, int flags, const QString &text,
                      const QColor &colour)
{
    painter.save();
    painter.setPen(QColor(252, 253, 255, 200));
    painter.drawText(area.translated(0, 1), flags, text);
    painter.setPen(colour);
    painter.drawText(area, flags, text);
    painter.restore();
}

void drawEmblem(QPainter &painter, const QRect &area)
{
    // A diamond of tiles, blue and gold, woven by two light threads.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF r(area);
    const QPointF c = r.center();
    const qreal half = std::min(r.width(), r.height()) / 2.0;
    QPainterPath diamond;
    diamond.moveTo(c.x(), c.y() - half);
    diamond.lineTo(c.x() + half, c.y());
    diamond.lineTo(c.x(), c.y() + half);
    diamond.lineTo(c.x() - half, c.y());
    diamond.closeSubpath();
    painter.fillPath(diamond, QColor(14, 30, 76)); // the grout between the tiles
    painter.setClipPath(diamond);
    const int tiles = 4;
    painter.translate(c);
    painter.rotate(45); // the diamond becomes an upright square of this side
    const qreal side = half * 1.4142135623730951;
    const qreal tileStep = side / tiles;
    for (int i = 0; i < tiles; ++i) {
        for (int j = 0; j < tiles; ++j) {
            const QRectF tile(-side / 2 + i * tileStep, -side / 2 + j * tileStep, tileStep, tileStep);
            const bool inner = (i == 1 || i == 2) && (j == 1 || j == 2);
            QColor colour = (i + j) % 2 ? QColor(70, 118, 200) : QColor(232, 186, 74);
            if (inner)
                colour = (i + j) % 2 ? QColor(26, 58, 132) : QColor(250, 214, 120);
            painter.fillRect(tile.adjusted(0.4, 0.4, -0.4, -0.4), colour);
        }
    }
    painter.resetTransform();
    painter.setClipping(false);
    painter.setPen(QPen(QColor(250, 252, 255, 220), std::max(1.0, half / 7)));
    painter.drawLine(QPointF(c.x() - half / 2, c.y() - half / 2),
                     QPointF(c.x() + half / 2, c.y() + half / 2));
    painter.drawLine(QPointF(c.x() - half / 2, c.y() + half / 2),
                     QPointF(c.x() + half / 2, c.y() - half / 2));
    painter.setPen(QPen(QColor(14, 30, 76), std::max(1.0, half / 12)));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(diamond);
    painter.restore();
}

QImage pictureButton(const QSize &size, int scale, const QString &caption, bool pressed, const QColor &face)
{
    QImage image = canvas(size, scale, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF r = QRectF(0, 0, size.width(), size.height()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(0, 0, 0, size.height());
    const QColor light = mix(face, QColor(255, 255, 255), 0.7), dark = mix(face, QColor(60, 66, 80), 0.35);
    fill.setColorAt(0, pressed ? dark : light);
    fill.setColorAt(1, pressed ? light : dark);
    p.setPen(QPen(Edge, 1));
    p.setBrush(fill);
    p.drawRoundedRect(r, 5, 5);
    // Inner bevel: light upper-left when raised, dark when pressed.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(pressed ? QColor(90, 96, 112, 160) : QColor(255, 255, 255, 200), 1));
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 4, 4);
    QFont f = font(std::max(9, size.height() * 13 / 37), true);
    p.setFont(f);
    const QRect text = QRect(QPoint(0, 0), size).translated(pressed ? 1 : 0, pressed ? 1 : 0);
    p.setPen(QColor(255, 255, 255, 190));
    p.drawText(text.translated(0, 1), Qt::AlignCenter, caption);
    p.setPen(Accent);
    p.drawText(text, Qt::AlignCenter, caption);
    return image;
}

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace Style
