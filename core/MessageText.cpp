// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/MessageText.h"

QString escapeControls(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\n')
            out += QLatin1String("\\n");
        else if (u == '\r')
            out += QLatin1String("\\r");
        else if (u == '\t')
            out += QLatin1String("\\t");
        else if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            out += QLatin1String("\\x") +
                   QString::number(int(u), 16).toUpper().rightJustified(2, QLatin1Char('0'));
        else if (u == 0x2028 || u == 0x2029) // line and paragraph separators
            out += QLatin1String("\\u") + QString::number(int(u), 16);
        else
            out += c;
    }
    return out;
}

QString escapedLines(const QStringList &lines)
{
    QStringList escaped;
    escaped.reserve(lines.size());
    for (const QString &line : lines)
        escaped << escapeControls(line);
    return escaped.join(QLatin1Char('\n'));
}
