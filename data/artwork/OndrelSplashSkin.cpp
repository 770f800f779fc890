// SPDX-License-Identifier: GPL-2.0-or-later
#include "Artwork.h"
#include "Style.h"

#include <QPainter>
#include <QRadialGradient>

namespace
{

// The start-up splash (312 x 301): a medallion with the emblem rising above a rounded plate that
// carries the name; everything around them is cut out.
QImage ondrelSplashSkin(int scale)
{
    const QSize size(312, 301);
    const QPoint centre(156, 64);
    QPainterPath shape = Style::roundedOutline(QRect(0, 50, 312, 251), 20);
    shape.addEllipse(QRectF(centre.x() - 64, 0, 128, 128));
    shape.setFillRule(Qt::WindingFill);
    QImage image = Style::body(size, scale, shape.simplified());
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, true);
        QRadialGradient disc(centre, 54, centre - QPoint(16, 18));
        disc.setColorAt(0, Style::AccentLight);
        disc.setColorAt(1, QColor(14, 34, 90));
        p.setPen(QPen(QColor(200, 160, 60), 3));
        p.setBrush(disc);
        p.drawEllipse(centre, 53, 53);
        Style::drawEmblem(p, QRect(centre.x() - 38, centre.y() - 38, 76, 76));

        p.setFont(Style::serifFont(36));
        Style::drawEngravedText(p, QRect(0, 128, 312, 46), Qt::AlignCenter, QStringLiteral("Tessaloom"),
                                Style::Accent);
        p.setFont(Style::serifFont(20));
        Style::drawEngravedText(p, QRect(0, 170, 312, 26), Qt::AlignCenter, QStringLiteral("2001"),
                                QColor(150, 104, 18));
        Style::drawGroove(p, 40, 271, 202);
        p.setFont(Style::font(12));
        Style::drawEngravedText(p, QRect(20, 208, 272, 40), Qt::AlignCenter | Qt::TextWordWrap,
                                QStringLiteral("Web pages from your pictures,\nsounds and movies"));
        Style::drawSlimBand(p, QRect(66, 262, 180, 16), QStringLiteral("Click to begin"));
    }
    Style::bevel(image);
    return image;
}

} // namespace

TESSALOOM_SKIN("ondrelsplash_skin.png", ondrelSplashSkin, Style::Key);
