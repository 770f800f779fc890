// SPDX-License-Identifier: GPL-2.0-or-later
#include "Artwork.h"
#include "Style.h"

#include <QPainter>

namespace
{

// The message window (384 x 64): a well for the message, a rim for the OK button, the emblem at left.
QImage prompt2Skin(int scale)
{
    const QSize size(384, 64);
    QImage image = Style::body(size, scale, Style::roundedOutline(QRect(QPoint(0, 0), size), 12));
    {
        QPainter p(&image);
        Style::drawEmblem(p, QRect(5, 24, 15, 15));
        Style::drawPanel(p, QRect(23, 8, 304, 49));
        Style::drawPanel(p, QRect(327, 11, 45, 41), QColor());
    }
    Style::bevel(image);
    return image;
}

} // namespace

TESSALOOM_SKIN("prompt2_skin.png", prompt2Skin, Style::Key);
