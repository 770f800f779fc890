// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

class MessagePort;
class QString;
class QWidget;

// Tells the user through the program's message window, or a plain message box over `window` where
// no message window was given (a window shown on its own, as in tests and tools).
void tellUser(MessagePort *messages, QWidget *window, const QString &text);
