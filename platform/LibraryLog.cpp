// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/LibraryLog.h"

#include "core/MessageText.h"

#include <QByteArray>

#include <glib.h>

#include <mutex>

namespace
{

struct Route {
    QByteArray programName;
    std::FILE *stream = nullptr;
    std::mutex lock;
};

Route &route()
{
    static Route r;
    return r;
}

const char *levelName(GLogLevelFlags level)
{
    if (level & G_LOG_LEVEL_ERROR)
        return "ERROR";
    if (level & G_LOG_LEVEL_CRITICAL)
        return "CRITICAL";
    if (level & G_LOG_LEVEL_WARNING)
        return "WARNING";
    if (level & G_LOG_LEVEL_MESSAGE)
        return "Message";
    return nullptr; // info and debug
}

void writeLine(const char *domain, GLogLevelFlags level, const char *message)
{
    const char *name = levelName(level);
    Route &r = route();
    if (!name || !r.stream)
        return;
    const QString text = escapeControls(QString::fromUtf8(message ? message : ""));
    const QByteArray line = r.programName + ": " + QByteArray(domain && *domain ? domain : "GLib") + '-' +
                            name + ": " + text.toUtf8() + '\n';
    const std::lock_guard guard(r.lock);
    std::fwrite(line.constData(), 1, size_t(line.size()), r.stream);
    std::fflush(r.stream);
}

void handleLog(const gchar *domain, GLogLevelFlags level, const gchar *message, gpointer)
{
    writeLine(domain, level, message);
}

GLogWriterOutput writeStructured(GLogLevelFlags level, const GLogField *fields, gsize count, gpointer)
{
    const char *domain = nullptr;
    const char *message = nullptr;
    for (gsize i = 0; i < count; ++i) {
        if (g_strcmp0(fields[i].key, "GLIB_DOMAIN") == 0 && fields[i].length < 0)
            domain = static_cast<const char *>(fields[i].value);
        else if (g_strcmp0(fields[i].key, "MESSAGE") == 0 && fields[i].length < 0)
            message = static_cast<const char *>(fields[i].value);
    }
    writeLine(domain, level, message);
    return G_LOG_WRITER_HANDLED;
}

} // namespace

void routeLibraryLog(const QString &programName, std::FILE *stream)
{
    Route &r = route();
    {
        const std::lock_guard guard(r.lock);
        r.programName = programName.toUtf8();
        r.stream = stream;
    }
    static std::once_flag installed;
    std::call_once(installed, [] {
        g_log_set_default_handler(handleLog, nullptr);
        g_log_set_writer_func(writeStructured, nullptr, nullptr);
    });
}
