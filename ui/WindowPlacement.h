#pragma once

#include <QPoint>

class QWidget;

// Where our small windows appear on the screen.
namespace WindowPlacement
{

// Centres the window on the screen it is on (the primary screen before it is first shown).
void centreOnScreen(QWidget *window);

// The top-left corner at `offset` from the top-left corner of `anchor` (in screen pixels); centred on
// the screen when there is no anchor.
void placeBeside(QWidget *window, const QWidget *anchor, const QPoint &offset);

} // namespace WindowPlacement
