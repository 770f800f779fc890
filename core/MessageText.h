#pragma once

#include <QString>

// A message as shown to the person, in a window or on a console: control characters (line breaks,
// tabs, escape sequences, ...) that a file name may hold are written out as \n, \t, \x1B, so a
// name can neither start a second, false message nor reach a terminal raw. One message, one line.
QString escapeControls(const QString &text);
