// SPDX-License-Identifier: GPL-2.0-or-later
#include "Artwork.h"
#include "Style.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

// Yellow is the pick list's key colour: everything of it is cut out of the window's outline.
const QColor PicklistKey(255, 255, 0);

// The sunken well the list sits in (the list itself covers 60, 53, 328 x 247).
void drawListWell(QPainter &p)
{
    const QRect well(56, 49, 336, 255);
    p.fillRect(well, Style::BodyDark);
    p.fillRect(well.adjusted(2, 2, 0, 0), Style::BodyLight);
    p.fillRect(well.adjusted(2, 2, -2, -2), QColor(255, 255, 255));
}

// A strip under the buttons so they read as one row of commands.
void drawButtonShelf(QPainter &p)
{
    QLinearGradient shelf(0, 306, 0, 336);
    shelf.setColorAt(0, Style::Body);
    shelf.setColorAt(1, Style::BodyDark);
    QPainterPath path;
    path.addRoundedRect(QRectF(50, 298, 356, 36), 8, 8);
    p.fillPath(path, shelf);
}

// A pad for the close mark (a label at 411, 17), so the mark reads as a button of its own.
void drawClosePad(QPainter &p)
{
    QPainterPath pad;
    pad.addRoundedRect(QRectF(405, 17, 21, 21), 5, 5);
    QLinearGradient fill(0, 17, 0, 38);
    fill.setColorAt(0, Style::BodyLight);
    fill.setColorAt(1, Style::Body);
    p.fillPath(pad, fill);
    p.save();
    Style::alignHairlines(p);
    p.setPen(Style::BodyDark);
    p.drawPath(pad);
    p.restore();
}

QImage picklistSkin(int scale)
{
    QImage image = Style::windowSkin(QSize(449, 355), scale, QStringLiteral("Pick List"), PicklistKey);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    drawButtonShelf(p);
    drawListWell(p);
    drawClosePad(p);
    p.end();
    return image;
}

// A rounded steel-blue face with its label, on a transparent ground.
QImage buttonFace(int scale, int width, int height, const QString &label)
{
    QImage image = Style::canvas(QSize(width, height), scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath face;
    face.addRoundedRect(QRectF(0.5, 0.5, width - 1, height - 1), 6, 6);
    QLinearGradient fill(0, 0, 0, height);
    fill.setColorAt(0, Style::AccentLight);
    fill.setColorAt(1, Style::Accent);
    p.fillPath(face, fill);
    p.setPen(QPen(Style::Ink, 1));
    p.drawPath(face);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(QColor(0, 0, 0, 140));
    p.drawText(QRect(1, 1, width, height), Qt::AlignCenter, label);
    p.setPen(QColor(255, 255, 255));
    p.drawText(QRect(0, 0, width, height), Qt::AlignCenter, label);
    return image;
}

QImage fillButton(int scale) { return buttonFace(scale, 42, 25, QStringLiteral("Fill")); }
QImage loadButton(int scale) { return buttonFace(scale, 59, 27, QStringLiteral("Load")); }
QImage saveButton(int scale) { return buttonFace(scale, 59, 27, QStringLiteral("Save")); }
QImage clearButton(int scale) { return buttonFace(scale, 64, 28, QStringLiteral("Clear")); }

} // namespace

TESSALOOM_SKIN("picklist_skin.png", picklistSkin, PicklistKey);
TESSALOOM_PICTURE("picklist_fill.png", fillButton);
TESSALOOM_PICTURE("picklist_load.png", loadButton);
TESSALOOM_PICTURE("picklist_save.png", saveButton);
TESSALOOM_PICTURE("picklist_clear.png", clearButton);
