// SPDX-License-Identifier: GPL-2.0-or-later
// The program's icon for the desktop's menu: a steel plate with the blue title band of our windows
// and the woven emblem below it. Drawn once as pictures at the usual theme sizes and once as SVG,
// both from the same figures on a 256-unit square.
#include "Artwork.h"
#include "Style.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace
{

constexpr double Unit = 256;
const QRectF Plate(12, 12, 232, 232);
constexpr double PlateRadius = 40;
constexpr double EdgeWidth = 6;
constexpr double BandBottom = 70;
const QPointF EmblemCentre(128, 156);
constexpr double EmblemHalf = 76;
constexpr int Tiles = 4;
const QColor Grout(14, 30, 76);
const QColor Thread(250, 252, 255, 220);

QColor tileColour(int i, int j)
{
    const bool inner = (i == 1 || i == 2) && (j == 1 || j == 2);
    if (inner)
        return (i + j) % 2 ? QColor(26, 58, 132) : QColor(250, 214, 120);
    return (i + j) % 2 ? QColor(70, 118, 200) : QColor(232, 186, 74);
}

double side()
{
    return EmblemHalf * std::sqrt(2.0);
}
double tileGap()
{
    return side() / Tiles * 0.06;
}

QPolygonF diamond()
{
    const QPointF c = EmblemCentre;
    return QPolygonF(QList<QPointF>{QPointF(c.x(), c.y() - EmblemHalf), QPointF(c.x() + EmblemHalf, c.y()),
                                    QPointF(c.x(), c.y() + EmblemHalf), QPointF(c.x() - EmblemHalf, c.y())});
}

// The two light threads woven across the tiles.
QList<QLineF> threads()
{
    const QPointF c = EmblemCentre;
    const double h = EmblemHalf / 2;
    return {QLineF(c.x() - h, c.y() - h, c.x() + h, c.y() + h),
            QLineF(c.x() - h, c.y() + h, c.x() + h, c.y() - h)};
}

QImage iconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / Unit, size / Unit);

    QPainterPath plate;
    plate.addRoundedRect(Plate, PlateRadius, PlateRadius);
    QLinearGradient steel(0, Plate.top(), 0, Plate.bottom());
    steel.setColorAt(0, Style::BodyLight);
    steel.setColorAt(0.5, Style::Body);
    steel.setColorAt(1, Style::BodyDark);
    p.fillPath(plate, steel);

    p.save();
    p.setClipPath(plate);
    QLinearGradient band(0, Plate.top(), 0, BandBottom);
    band.setColorAt(0, Style::AccentLight);
    band.setColorAt(1, Style::Accent);
    p.fillRect(QRectF(0, 0, Unit, BandBottom), band);
    p.restore();

    p.setPen(Qt::NoPen);
    p.setBrush(Grout);
    p.drawPolygon(diamond());
    p.save();
    QPainterPath clip;
    clip.addPolygon(diamond());
    p.setClipPath(clip);
    p.translate(EmblemCentre);
    p.rotate(45);
    const double step = side() / Tiles;
    for (int i = 0; i < Tiles; ++i)
        for (int j = 0; j < Tiles; ++j)
            p.fillRect(QRectF(-side() / 2 + i * step, -side() / 2 + j * step, step, step)
                           .adjusted(tileGap(), tileGap(), -tileGap(), -tileGap()),
                       tileColour(i, j));
    p.restore();
    p.setPen(QPen(Thread, EmblemHalf / 7, Qt::SolidLine, Qt::FlatCap));
    p.drawLines(threads());
    p.setPen(QPen(Grout, EmblemHalf / 12, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(diamond());

    p.setPen(QPen(Style::Edge, EdgeWidth));
    p.drawPath(plate);
    return image;
}

QString rgb(const QColor &c)
{
    return c.name(QColor::HexRgb);
}

QString num(double v)
{
    return QString::number(v, 'f', 2);
}

QByteArray iconSvg()
{
    QString svg;
    const QPolygonF d = diamond();
    QString points;
    for (const QPointF &pt : d)
        points += num(pt.x()) + QLatin1Char(',') + num(pt.y()) + QLatin1Char(' ');
    points = points.trimmed();
    const QString plate =
        QStringLiteral("x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\"")
            .arg(num(Plate.x()), num(Plate.y()), num(Plate.width()), num(Plate.height()), num(PlateRadius));
    svg += QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                          "viewBox=\"0 0 256 256\">\n<defs>\n");
    svg += QStringLiteral("<linearGradient id=\"steel\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"%1\" "
                          "x2=\"0\" y2=\"%2\"><stop offset=\"0\" stop-color=\"%3\"/><stop offset=\"0.5\" "
                          "stop-color=\"%4\"/><stop offset=\"1\" stop-color=\"%5\"/></linearGradient>\n")
               .arg(num(Plate.top()), num(Plate.bottom()), rgb(Style::BodyLight), rgb(Style::Body),
                    rgb(Style::BodyDark));
    svg += QStringLiteral("<linearGradient id=\"band\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"%1\" "
                          "x2=\"0\" y2=\"%2\"><stop offset=\"0\" stop-color=\"%3\"/><stop offset=\"1\" "
                          "stop-color=\"%4\"/></linearGradient>\n")
               .arg(num(Plate.top()), num(BandBottom), rgb(Style::AccentLight), rgb(Style::Accent));
    svg += QStringLiteral("<clipPath id=\"plate\"><rect %1/></clipPath>\n").arg(plate);
    svg +=
        QStringLiteral("<clipPath id=\"diamond\"><polygon points=\"%1\"/></clipPath>\n</defs>\n").arg(points);
    svg += QStringLiteral("<rect %1 fill=\"url(#steel)\"/>\n").arg(plate);
    svg += QStringLiteral("<rect x=\"0\" y=\"0\" width=\"256\" height=\"%1\" fill=\"url(#band)\" "
                          "clip-path=\"url(#plate)\"/>\n")
               .arg(num(BandBottom));
    svg += QStringLiteral("<polygon points=\"%1\" fill=\"%2\"/>\n").arg(points, rgb(Grout));
    svg += QStringLiteral("<g clip-path=\"url(#diamond)\"><g transform=\"translate(%1 %2) rotate(45)\">\n")
               .arg(num(EmblemCentre.x()), num(EmblemCentre.y()));
    const double step = side() / Tiles;
    for (int i = 0; i < Tiles; ++i)
        for (int j = 0; j < Tiles; ++j)
            svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%3\" fill=\"%4\"/>\n")
                       .arg(num(-side() / 2 + i * step + tileGap()), num(-side() / 2 + j * step + tileGap()),
                            num(step - 2 * tileGap()), rgb(tileColour(i, j)));
    svg += QStringLiteral("</g></g>\n");
    for (const QLineF &line : threads())
        svg += QStringLiteral(
                   "<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" stroke=\"%5\" stroke-opacity=\"%6\" "
                   "stroke-width=\"%7\"/>\n")
                   .arg(num(line.x1()), num(line.y1()), num(line.x2()), num(line.y2()), rgb(Thread),
                        num(Thread.alphaF()), num(EmblemHalf / 7));
    svg += QStringLiteral("<polygon points=\"%1\" fill=\"none\" stroke=\"%2\" stroke-width=\"%3\" "
                          "stroke-linejoin=\"miter\"/>\n")
               .arg(points, rgb(Grout), num(EmblemHalf / 12));
    svg += QStringLiteral("<rect %1 fill=\"none\" stroke=\"%2\" stroke-width=\"%3\"/>\n</svg>\n")
               .arg(plate, rgb(Style::Edge), num(EdgeWidth));
    return svg.toUtf8();
}

// At 16 pixels the figures above blur into each other: the same plate, band and woven diamond drawn
// on the pixel grid instead, every pixel either whole or empty, the tiles in their own colours.
QImage smallIcon()
{
    constexpr int Size = 16;
    QImage image(Size, Size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const QPointF centre(7.5, 10);
    for (int y = 0; y < Size; ++y) {
        for (int x = 0; x < Size; ++x) {
            const bool corner = (x == 0 || x == Size - 1) && (y == 0 || y == Size - 1);
            if (corner)
                continue;
            const bool edge = x == 0 || y == 0 || x == Size - 1 || y == Size - 1;
            QColor colour = y <= 4 ? (y == 1 ? Style::AccentLight : Style::Accent) : Style::Body;
            // The diamond: four tiles, gold above and below, blue left and right, on the grout.
            const double dx = x - centre.x(), dy = y + 0.5 - centre.y();
            if (std::abs(dx) + std::abs(dy) <= 4.5) {
                if (std::abs(dx) < 1 && std::abs(dy) < 1)
                    colour = Grout;
                else
                    colour = std::abs(dy) > std::abs(dx) ? tileColour(0, 0) : tileColour(0, 1);
            }
            image.setPixelColor(x, y, edge ? Style::Edge : colour);
        }
    }
    return image;
}

QByteArray smallIconPng()
{
    return Style::png(smallIcon());
}

template <int Size> QByteArray iconPng()
{
    return Style::png(iconImage(Size));
}

const bool registered = Artwork::add("icons/hicolor/16x16/apps/" TESSALOOM_APP_ID ".png", smallIconPng) &&
                        Artwork::add("icons/hicolor/32x32/apps/" TESSALOOM_APP_ID ".png", iconPng<32>) &&
                        Artwork::add("icons/hicolor/48x48/apps/" TESSALOOM_APP_ID ".png", iconPng<48>) &&
                        Artwork::add("icons/hicolor/64x64/apps/" TESSALOOM_APP_ID ".png", iconPng<64>) &&
                        Artwork::add("icons/hicolor/128x128/apps/" TESSALOOM_APP_ID ".png", iconPng<128>) &&
                        Artwork::add("icons/hicolor/256x256/apps/" TESSALOOM_APP_ID ".png", iconPng<256>) &&
                        Artwork::add("icons/hicolor/scalable/apps/" TESSALOOM_APP_ID ".svg", iconSvg);

} // namespace
