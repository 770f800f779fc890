// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <QString>

class QPainter;

// The look all our windows share: a finely brushed steel body with a bevelled edge and a deep blue
// title band, drawn without antialiasing at the outline so the key colour cuts a clean shape.
// Pure black (the key) appears only outside a window's outline; every drawing colour here avoids it.
//
// A skin is built in layers: body(shape) -> title band / panels / emblem -> bevel(). windowSkin()
// does all of it for an ordinary rounded window.
//
// Every picture is drawn for a scale: 1 for ordinary screens, 2 for HiDPI ones (its @2x copy). Its
// geometry is always given in 1x pixels: a picture of canvas() has scale times the pixels and the
// matching device pixel ratio, so a QPainter on it draws in 1x pixels; the outline (where the key
// colour is) is always the 1x one, each of its pixels a block of the larger picture.
namespace Style
{

inline const QColor Body(192, 196, 204);
inline const QColor BodyDark(120, 126, 140);
inline const QColor BodyLight(236, 238, 242);
inline const QColor Accent(28, 64, 140);
inline const QColor AccentLight(84, 132, 210);
inline const QColor Ink(20, 24, 32);
inline const QColor Edge(52, 58, 72);         // the outermost line of every window
inline const QColor PanelFill(232, 234, 238); // the well where a label or list sits
inline const QColor Silver(192, 192, 192);    // classic control grey (progress bar trough)
inline const QColor Gold(224, 176, 64);       // small highlights in the emblem
inline const QColor Key(0, 0, 0);             // cut out of the window's outline

// Fonts the artwork writes with (present on every machine we build on).
QFont font(int pixelSize, bool bold = false);
QFont serifFont(int pixelSize, bool bold = true);

// An empty picture of the given size in 1x pixels, for that scale.
QImage canvas(const QSize &size, int scale, QImage::Format format = QImage::Format_RGB32);

// A skin of the given size: key colour outside a rounded body, title band with the caption.
QImage windowSkin(const QSize &size, int scale, const QString &caption, const QColor &key = Key);

// A rounded rectangle with straight pixel steps: the outline of an ordinary window.
QPainterPath roundedOutline(const QRect &rect, int radius);

// The body of a window in the given shape (key colour outside it): brushed steel, lighter at the top.
// Not yet bevelled; call bevel() after drawing on it.
QImage body(const QSize &size, int scale, const QPainterPath &shape, const QColor &key = Key);
// The same without a cut-out: the whole rectangle is the window.
QImage body(const QSize &size, int scale);

// The raised edge along every border between the body and the key colour (or the picture's edge):
// a dark outline, a highlight inside it on the upper left, a shadow on the lower right.
void bevel(QImage &image, const QColor &key = Key);
// The same for a picture that has no key colour at all: bevels the rectangle's border.
void bevelRectangle(QImage &image);

// Makes a scaled picture's key colour exactly the 1x picture's, block for block: a pixel whose 1x
// pixel is the key becomes the key, and one that came out as the key where the 1x pixel is not
// takes that pixel's colour (an outline drawn by its own painter may land a pixel off at scale 2).
void keepOutline(QImage &scaled, const QImage &normal, const QColor &key = Key);

// Aliased lines one pixel wide land half a pixel up and left of their 1x place at a larger scale
// (Qt rounds them onto their pixels at 1x only): this moves the painter's strokes back. For strokes
// only; fills are in place already. Call between save() and restore().
void alignHairlines(QPainter &painter);

// The deep blue title band, with the caption in white and the emblem at its left.
void drawTitleBand(QPainter &painter, const QRect &band, const QString &caption);
// A thin band without the emblem, for small windows (caption may be empty).
void drawSlimBand(QPainter &painter, const QRect &band, const QString &caption);

// A sunken well where a control (label, list, gauge, picture) will sit; fill it or leave the body.
void drawPanel(QPainter &painter, const QRect &area, const QColor &fill = PanelFill);
// A raised plate, for grouping captions or buttons.
void drawRaisedPanel(QPainter &painter, const QRect &area);
// A one-pixel groove (dark line over a light line), to part areas of a window.
void drawGroove(QPainter &painter, int x1, int x2, int y);

// Text cut into the metal: the text in colour with a light line below it.
void drawEngravedText(QPainter &painter, const QRect &area, int flags, const QString &text,
                      const QColor &colour = Ink);

// The program's emblem: tiles woven over and under, fitted into the square area.
void drawEmblem(QPainter &painter, const QRect &area);

// The picture of a push button (caption or glyph text centred). Pressed: sunken and the caption
// moved one pixel. Corners outside the rounded face are transparent.
QImage pictureButton(const QSize &size, int scale, const QString &caption, bool pressed,
                     const QColor &face = Body);

QByteArray png(const QImage &image);

} // namespace Style
