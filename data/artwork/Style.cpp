#include "Style.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace Style {

QImage windowSkin(int width, int height, const QString &caption, const QColor &key)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(key);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    const int radius = 14;
    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, width - 1, height - 1), radius, radius);
    QLinearGradient body(0, 0, 0, height);
    body.setColorAt(0, BodyLight);
    body.setColorAt(0.5, Body);
    body.setColorAt(1, BodyDark);
    p.fillPath(outline, body);
    // Title band.
    QPainterPath band;
    band.addRoundedRect(QRectF(6, 6, width - 13, 26), 9, 9);
    QLinearGradient bandFill(0, 6, 0, 32);
    bandFill.setColorAt(0, AccentLight);
    bandFill.setColorAt(1, Accent);
    p.fillPath(band, bandFill);
    p.setPen(QColor(255, 255, 255));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(14);
    p.setFont(font);
    p.drawText(QRect(16, 6, width - 32, 26), Qt::AlignVCenter | Qt::AlignLeft, caption);
    // A bevel along the outline; never the key colour.
    p.setPen(QPen(BodyDark, 2));
    p.drawPath(outline);
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
