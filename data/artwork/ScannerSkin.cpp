// SPDX-License-Identifier: GPL-2.0-or-later
#include "Artwork.h"
#include "Style.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace
{

QFont boldFont(int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(pixelSize);
    return font;
}

// A sunken panel that frames a group of controls.
void sunkenPanel(QPainter &p, const QRect &area, int radius)
{
    QPainterPath path;
    path.addRoundedRect(area, radius, radius);
    QLinearGradient fill(area.topLeft(), area.bottomLeft());
    fill.setColorAt(0, Style::BodyDark.lighter(115));
    fill.setColorAt(1, Style::Body);
    p.fillPath(path, fill);
    p.save();
    Style::alignHairlines(p);
    p.setPen(QPen(Style::BodyDark.darker(130), 1));
    p.drawPath(path);
    p.setPen(QPen(Style::BodyLight, 1));
    p.drawLine(area.left() + radius, area.bottom() + 1, area.right() - radius, area.bottom() + 1);
    p.restore();
}

void caption(QPainter &p, const QRect &area, const QString &text, int pixelSize, const QColor &ink,
             int flags = Qt::AlignCenter)
{
    p.setFont(boldFont(pixelSize));
    p.setPen(Style::BodyLight);
    p.drawText(area.translated(1, 1), flags, text);
    p.setPen(ink);
    p.drawText(area, flags, text);
}

// The "hints off" spot under RzBmpButton1: a question mark struck through.
void hintsOffSpot(QPainter &p, const QRect &area)
{
    QPainterPath plate;
    plate.addRoundedRect(area, 6, 6);
    p.fillPath(plate, Style::BodyLight);
    p.save();
    Style::alignHairlines(p);
    p.setPen(QPen(Style::BodyDark, 1));
    p.drawPath(plate);
    p.restore();
    caption(p, area, QStringLiteral("?"), 16, Style::Accent);
    p.setPen(QPen(QColor(170, 30, 30), 2));
    p.drawLine(area.left() + 9, area.bottom() - 4, area.right() - 9, area.top() + 4);
}

// The main window: a steel body on the key colour, the title band, and sunken panels under the
// folder tree and file list, the commands and the kind buttons.
QImage scannerSkin(int scale)
{
    QImage image = Style::canvas(QSize(649, 450), scale);
    image.fill(Style::Key);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false); // keeps the outline's edge off the key colour
    QPainterPath body;
    body.addRoundedRect(QRectF(52, 34, 574, 396), 30, 30);
    QLinearGradient steel(0, 34, 0, 430);
    steel.setColorAt(0, Style::BodyLight);
    steel.setColorAt(0.45, Style::Body);
    steel.setColorAt(1, Style::BodyDark);
    p.fillPath(body, steel);
    p.setPen(QPen(Style::BodyDark.darker(120), 2));
    p.drawPath(body);

    QPainterPath band;
    band.addRoundedRect(QRectF(72, 42, 534, 24), 11, 11);
    QLinearGradient bandFill(0, 42, 0, 66);
    bandFill.setColorAt(0, Style::AccentLight);
    bandFill.setColorAt(1, Style::Accent);
    p.fillPath(band, bandFill);
    p.setFont(boldFont(15));
    p.setPen(Qt::white);
    p.drawText(QRect(88, 42, 400, 24), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Tessaloom 2001"));
    p.setFont(boldFont(10));
    p.drawText(QRect(300, 42, 290, 24), Qt::AlignVCenter | Qt::AlignRight, QStringLiteral("media pages"));

    // A plate for the minimise and quit captions, tucked under the corner of the list's panel.
    QPainterPath plate;
    plate.addRoundedRect(QRectF(547, 66, 36, 44), 8, 8);
    p.fillPath(plate, Style::BodyLight);
    p.save();
    Style::alignHairlines(p);
    p.setPen(QPen(Style::BodyDark, 1));
    p.drawPath(plate);
    p.restore();
    sunkenPanel(p, QRect(95, 84, 460, 224), 8);   // folder tree and file list
    sunkenPanel(p, QRect(70, 290, 198, 100), 12); // commands
    sunkenPanel(p, QRect(290, 326, 204, 78), 12); // kind buttons
    caption(p, QRect(293, 404, 200, 14), QStringLiteral("media kind"), 10, Style::Accent);
    caption(p, QRect(70, 390, 198, 14), QStringLiteral("page"), 10, Style::Accent);

    // The program's name down the left margin.
    p.save();
    p.translate(80, 270);
    p.rotate(-90);
    caption(p, QRect(0, -12, 190, 22), QStringLiteral("TESSALOOM"), 15, Style::Accent);
    p.restore();

    hintsOffSpot(p, QRect(568, 389, 36, 22));
    caption(p, QRect(540, 411, 90, 12), QStringLiteral("hints off"), 9, Style::Ink);
    return image;
}

} // namespace

TESSALOOM_SKIN("scanner_skin.png", scannerSkin, Style::Key);
