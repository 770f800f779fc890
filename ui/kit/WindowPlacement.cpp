// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/kit/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace WindowPlacement
{

bool programPlacesWindows()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void centreOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    window->move(area.x() + (area.width() - window->width()) / 2,
                 area.y() + (area.height() - window->height()) / 2);
}

void placeBeside(QWidget *window, const QWidget *anchor, const QPoint &offset)
{
    if (!anchor) {
        centreOnScreen(window);
        return;
    }
    window->move(anchor->window()->frameGeometry().topLeft() + offset);
}

QPoint besideWithoutCovering(const QSize &size, const QRect &anchor, const QRect &available)
{
    constexpr int kGap = 4;
    const auto within = [](int start, int length, int areaStart, int areaLength) {
        return std::clamp(start, areaStart, std::max(areaStart, areaStart + areaLength - length));
    };
    const int top = within(anchor.top(), size.height(), available.top(), available.height());
    const int left = within(anchor.left(), size.width(), available.left(), available.width());
    const int bottom = available.bottom() + 1;
    const int right = available.right() + 1;
    if (anchor.right() + 1 + kGap + size.width() <= right && size.height() <= available.height())
        return {anchor.right() + 1 + kGap, top};
    if (anchor.left() - kGap - size.width() >= available.left() && size.height() <= available.height())
        return {anchor.left() - kGap - size.width(), top};
    if (anchor.bottom() + 1 + kGap + size.height() <= bottom && size.width() <= available.width())
        return {left, anchor.bottom() + 1 + kGap};
    // No room: in the screen's top-left corner, where it covers only the top-left corner of an anchor
    // that stands near the middle (centred, it would cover the anchor's middle, and its buttons).
    return available.topLeft();
}

void placeWithoutCovering(QWidget *window, const QWidget *anchor)
{
    if (!anchor) {
        centreOnScreen(window);
        return;
    }
    const QWidget *anchorWindow = anchor->window();
    const QScreen *screen =
        anchorWindow->screen() ? anchorWindow->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window->move(besideWithoutCovering(window->frameGeometry().size(), anchorWindow->frameGeometry(),
                                       screen->availableGeometry()));
}

} // namespace WindowPlacement
