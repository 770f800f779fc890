// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

#include <cstdio>

// GLib and the GStreamer libraries report through GLib's log, whose default handler writes bare lines
// ("GStreamer-CRITICAL **: ...") to standard error, among a program's own one-line messages. Once
// routed, each report of a warning or worse goes to stream as one line: the program's name, the
// library's domain and level, and the message with its control characters escaped. Debug and info
// reports are dropped. Safe from any thread (GStreamer logs from its streaming threads); call it once,
// before the libraries start.
void routeLibraryLog(const QString &programName, std::FILE *stream);
