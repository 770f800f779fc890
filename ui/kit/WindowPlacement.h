// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Where our small windows appear on the screen.
namespace WindowPlacement
{

// Whether the window system lets a program place its own top-level windows (X11 does; Wayland
// leaves every place to the compositor and ignores a top-level's moves).
bool programPlacesWindows();

// Centres the window on the screen it is on (the primary screen before it is first shown).
void centreOnScreen(QWidget *window);

// The top-left corner at `offset` from the top-left corner of `anchor` (in screen pixels); centred on
// the screen when there is no anchor.
void placeBeside(QWidget *window, const QWidget *anchor, const QPoint &offset);

// Where a window of `size` goes so that it leaves `anchor` (a frame on the screen) uncovered: to its
// right where `available` has room, else to its left, else below it, else in the top-left corner of
// `available` (covering only the top-left corner of an anchor near the middle: of the main window, the
// left end of its title band, leaving its file list and buttons free). Top edges line up with the
// anchor's, moved inside `available` where needed.
QPoint besideWithoutCovering(const QSize &size, const QRect &anchor, const QRect &available);

// Moves the window to that place beside its anchor's window, on the anchor's screen.
void placeWithoutCovering(QWidget *window, const QWidget *anchor);

} // namespace WindowPlacement
