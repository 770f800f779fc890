// SPDX-License-Identifier: GPL-2.0-or-later
#include "generator/HtmlEscape.h"

#include <QByteArray>
#include <QList>

namespace {

bool isControl(char32_t c) { return c < 0x20 || c == 0x7F; }

bool isUrlReserved(char c)
{
    switch (c) {
    case '"': case '#': case '%': case '<': case '>': case '?':
    case '\\': case '^': case '`': case '{': case '|': case '}':
        return true;
    default:
        return false;
    }
}

void appendPercent(QString &out, unsigned char byte)
{
    static const char hex[] = "0123456789ABCDEF";
    out += QLatin1Char('%');
    out += QLatin1Char(hex[byte >> 4]);
    out += QLatin1Char(hex[byte & 0xF]);
}

// Appends a character as "&#N;" when it is a control or non-ASCII character; false otherwise.
bool appendNumericReference(QString &out, char32_t c)
{
    if (!isControl(c) && c < 0x80)
        return false;
    out += QStringLiteral("&#%1;").arg(quint32(c));
    return true;
}

} // namespace

namespace HtmlEscape {

QString url(const QString &fileName)
{
    const QByteArray bytes = fileName.toUtf8();
    qsizetype first = 0;
    while (first < bytes.size() && bytes[first] == ' ')
        ++first;
    qsizetype last = bytes.size(); // one past the last byte that is not a trailing blank
    while (last > first && bytes[last - 1] == ' ')
        --last;

    QString out;
    out.reserve(bytes.size() + 8);
    if (fileName.contains(QLatin1Char(':')))
        out += QLatin1String("./");
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        const bool edgeBlank = b == ' ' && (i < first || i >= last);
        if (edgeBlank || b < 0x20 || b >= 0x7F || isUrlReserved(char(b)))
            appendPercent(out, b);
        else if (b == '&')
            out += QLatin1String("&amp;");
        else
            out += QLatin1Char(char(b));
    }
    return out;
}

QString text(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (const char32_t c : value.toUcs4()) {
        switch (c) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        default:
            if (!appendNumericReference(out, c))
                out += QLatin1Char(char(c));
        }
    }
    return out;
}

QString title(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (const char32_t c : value.toUcs4()) {
        if (!appendNumericReference(out, c))
            out += QLatin1Char(char(c));
    }
    return out;
}

} // namespace HtmlEscape
