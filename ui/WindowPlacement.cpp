#include "ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace WindowPlacement
{

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

} // namespace WindowPlacement
