// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// A message as shown to the person, in a window or on a console: control characters (line breaks,
// tabs, escape sequences, ...) that a file name may hold are written out as \n, \t, \x1B, so a
// name can neither start a second, false message nor reach a terminal raw. One message, one line.
QString escapeControls(const QString &text);

// Several lines as one message: each line escaped as above, the lines joined by line breaks.
QString escapedLines(const QStringList &lines);
