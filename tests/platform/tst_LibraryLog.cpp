// SPDX-License-Identifier: GPL-2.0-or-later
// GLib's and GStreamer's own reports reach the error stream as one line each, after the program's name.
#include "platform/LibraryLog.h"

#include "support/CapturedStream.h"

#include <QTest>

#include <glib.h>

class TestLibraryLog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reportsBecomeOneLineEach()
    {
        CapturedStream err;
        routeLibraryLog(QStringLiteral("tessaloom-page"), err.file());
        g_log("GStreamer", G_LOG_LEVEL_CRITICAL,
              "gst_mini_object_unref: assertion\n'mini_object != NULL' failed");
        g_log("GStreamer-Video", G_LOG_LEVEL_WARNING, "a\tframe\x1b[2J");
        g_log("GStreamer", G_LOG_LEVEL_DEBUG, "dropped");
        g_log("GStreamer", G_LOG_LEVEL_INFO, "dropped too");
        const GLogField fields[] = {{"GLIB_DOMAIN", "GLib-GObject", -1}, {"MESSAGE", "structured", -1}};
        g_log_structured_array(G_LOG_LEVEL_CRITICAL, fields, 2);
        QCOMPARE(err.text(),
                 QStringLiteral("tessaloom-page: GStreamer-CRITICAL: gst_mini_object_unref: assertion\\n"
                                "'mini_object != NULL' failed\n"
                                "tessaloom-page: GStreamer-Video-WARNING: a\\tframe\\x1B[2J\n"
                                "tessaloom-page: GLib-GObject-CRITICAL: structured\n"));
        routeLibraryLog(QStringLiteral("tessaloom-page"), nullptr);
    }
};

QTEST_GUILESS_MAIN(TestLibraryLog)
#include "tst_LibraryLog.moc"
