#pragma once

#include <QColor>
#include <QImage>
#include <QString>

// The look all our windows share: a brushed-steel body with a deep blue title band, drawn without
// antialiasing at the outline so the key colour cuts a clean shape.
namespace Style {

inline const QColor Body(192, 196, 204);
inline const QColor BodyDark(120, 126, 140);
inline const QColor BodyLight(236, 238, 242);
inline const QColor Accent(28, 64, 140);
inline const QColor AccentLight(84, 132, 210);
inline const QColor Ink(20, 24, 32);
inline const QColor Key(0, 0, 0); // cut out of the window's outline

// A skin of the given size: key colour outside a rounded body, title band with the caption.
QImage windowSkin(int width, int height, const QString &caption, const QColor &key = Key);

QByteArray png(const QImage &image);

} // namespace Style
