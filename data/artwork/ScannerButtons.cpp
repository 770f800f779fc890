// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's button pictures: command buttons in the accent blue, kind buttons in light steel.
#include "Artwork.h"
#include "Style.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace
{

QImage button(int scale, int width, int height, const QString &text, bool accent)
{
    QImage image = Style::canvas(QSize(width, height), scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal radius = qMin(height / 2.0 - 1, 9.0);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(0.5, 0.5, width - 1.5, height - 1.5), radius, radius);
    QLinearGradient fill(0, 0, 0, height);
    fill.setColorAt(0, accent ? Style::AccentLight : Style::BodyLight);
    fill.setColorAt(1, accent ? Style::Accent : Style::Body.darker(108));
    p.fillPath(shape, fill);
    p.setPen(QPen(accent ? Style::Accent.darker(140) : Style::BodyDark, 1));
    p.drawPath(shape);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(height >= 26 ? 13 : 11);
    p.setFont(font);
    const QColor ink = accent ? QColor(Qt::white) : Style::Accent;
    const QColor shadow = accent ? Style::Accent.darker(160) : Style::BodyLight;
    p.setPen(shadow);
    p.drawText(QRect(1, 1, width, height), Qt::AlignCenter, text);
    p.setPen(ink);
    p.drawText(QRect(0, 0, width, height), Qt::AlignCenter, text);
    return image;
}

// The small pick list button: a list of lines.
QImage PickListButton(int scale)
{
    QImage image = button(scale, 16, 14, QString(), true);
    QPainter p(&image);
    Style::alignHairlines(p);
    p.setPen(Qt::white);
    for (int y = 4; y <= 10; y += 3)
        p.drawLine(4, y, 11, y);
    return image;
}

#define SCANNER_BUTTON(name, width, height, text, accent)                                                    \
    QImage name(int scale)                                                                                   \
    {                                                                                                        \
        return button(scale, width, height, QStringLiteral(text), accent);                                   \
    }                                                                                                        \
    TESSALOOM_PICTURE("scanner_" #name ".png", name)

SCANNER_BUTTON(WebButton, 76, 28, "Create", true);
SCANNER_BUTTON(PreviewButton, 90, 28, "Preview", true);
SCANNER_BUTTON(GrabberButton, 94, 29, "Grabber", true);
SCANNER_BUTTON(ViewButton, 78, 29, "View", true);
SCANNER_BUTTON(OptionsButton, 93, 28, "Options", true);
SCANNER_BUTTON(gjButton, 78, 22, "GIF/JPG", false);
SCANNER_BUTTON(GIFButton, 48, 22, "GIF", false);
SCANNER_BUTTON(JPGButton, 48, 22, "JPG", false);
SCANNER_BUTTON(WAVButton, 56, 22, "WAV", false);
SCANNER_BUTTON(MIDButton, 49, 22, "MID", false);
SCANNER_BUTTON(MP3Button, 48, 22, "MP3", false);
SCANNER_BUTTON(AVIButton, 48, 22, "AVI", false);
SCANNER_BUTTON(MPGButton, 51, 22, "MPG", false);

#undef SCANNER_BUTTON

} // namespace

TESSALOOM_PICTURE("scanner_PickListButton.png", PickListButton);
