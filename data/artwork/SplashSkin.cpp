// SPDX-License-Identifier: GPL-2.0-or-later
#include "Artwork.h"
#include "Style.h"

#include <QPainter>

namespace
{

// The About window (367 x 233): a plain rectangle, nothing cut out; the emblem, the name, the maker.
QImage splashSkin(int scale)
{
    const QSize size(367, 233);
    QImage image = Style::body(size, scale);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        Style::drawTitleBand(p, QRect(7, 7, 353, 28), QStringLiteral("About Tessaloom"));
        Style::drawPanel(p, QRect(16, 46, 112, 112), QColor(244, 245, 248));
        Style::drawEmblem(p, QRect(26, 56, 92, 92));

        p.setFont(Style::serifFont(27));
        Style::drawEngravedText(p, QRect(140, 46, 215, 36), Qt::AlignLeft | Qt::AlignVCenter,
                                QStringLiteral("Tessaloom"), Style::Accent);
        p.setFont(Style::serifFont(18));
        Style::drawEngravedText(p, QRect(142, 80, 215, 22), Qt::AlignLeft | Qt::AlignVCenter,
                                QStringLiteral("2001"), QColor(150, 104, 18));
        Style::drawGroove(p, 140, 350, 108);
        p.setFont(Style::font(11));
        Style::drawEngravedText(p, QRect(140, 114, 212, 44), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                                QStringLiteral("Web pages from your pictures, sounds and movies."));

        Style::drawRaisedPanel(p, QRect(16, 170, 335, 48));
        p.setFont(Style::font(11, true));
        Style::drawEngravedText(p, QRect(24, 174, 320, 20), Qt::AlignCenter, QStringLiteral("Version 1.0"));
        p.setFont(Style::font(10));
        Style::drawEngravedText(p, QRect(24, 194, 320, 18), Qt::AlignCenter,
                                QStringLiteral("\u00a9 2001 Quorvane. All rights reserved."),
                                QColor(58, 64, 80));
    }
    Style::bevelRectangle(image);
    return image;
}

} // namespace

TESSALOOM_PICTURE("splash_skin.png", splashSkin);
