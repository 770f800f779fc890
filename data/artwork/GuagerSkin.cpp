// SPDX-License-Identifier: GPL-2.0-or-later
#include "Artwork.h"
#include "Style.h"

#include <QPainter>

namespace
{

// The progress window (350 x 50): a slim band with a caption, a well for the bar at 21, 20.
QImage guagerSkin(int scale)
{
    const QSize size(350, 50);
    QImage image = Style::body(size, scale, Style::roundedOutline(QRect(QPoint(0, 0), size), 10));
    {
        QPainter p(&image);
        Style::drawSlimBand(p, QRect(96, 4, 158, 12), QStringLiteral("Working\u2026"));
        Style::drawPanel(p, QRect(19, 18, 310, 17), QColor());
        Style::drawEmblem(p, QRect(7, 19, 11, 11));
        Style::drawEmblem(p, QRect(332, 19, 11, 11));
        Style::drawGroove(p, 24, 325, 40);
    }
    Style::bevel(image);
    return image;
}

} // namespace

TESSALOOM_SKIN("guager_skin.png", guagerSkin, Style::Key);
