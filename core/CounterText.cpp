// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/CounterText.h"

#include "core/PageOptions.h"

#include <QLocale>

namespace
{

bool isSign(QChar c)
{
    return c == QLatin1Char('+') || c == QLatin1Char('-');
}

// Digits with groups of three from the right, leading zeros dropped.
QString groupDigits(const QString &digits, const QString &separator)
{
    qsizetype first = 0;
    while (first < digits.size() - 1 && digits[first] == QLatin1Char('0'))
        ++first;
    const QString bare = digits.mid(first);
    QString out;
    for (qsizetype i = 0; i < bare.size(); ++i) {
        if (i > 0 && (bare.size() - i) % 3 == 0)
            out += separator;
        out += bare[i];
    }
    return out;
}

} // namespace

namespace CounterText
{

QString plain(const QString &shown, const QLocale &locale)
{
    QString text = shown;
    text.remove(locale.groupSeparator());
    bool negative = false;
    if (text.startsWith(QLatin1Char('('))) {
        negative = true;
        text.remove(0, 1);
        if (text.endsWith(QLatin1Char(')')))
            text.chop(1);
    }
    return negative ? QLatin1Char('-') + text : text;
}

QString display(const QString &plainText, const QLocale &locale)
{
    if (plainText.isEmpty() || (plainText.size() == 1 && isSign(plainText[0])))
        return QStringLiteral("0");
    bool zero = false;
    if (!readCounter(plainText, &zero, nullptr))
        return plainText;
    if (zero)
        return QStringLiteral("0");
    const bool negative = plainText[0] == QLatin1Char('-');
    const QString digits = isSign(plainText[0]) ? plainText.mid(1) : plainText;
    const QString grouped = groupDigits(digits, locale.groupSeparator());
    return negative ? QLatin1Char('(') + grouped + QLatin1Char(')') : grouped;
}

QString normalised(const QString &plainText, const QLocale &locale)
{
    return plain(display(plainText, locale), locale);
}

bool acceptsCharacter(const QString &text, int pos, QChar ch)
{
    if (ch.isDigit() && ch.unicode() < 128)
        return !(pos == 0 && !text.isEmpty() && (isSign(text[0]) || text[0] == QLatin1Char('(')));
    if (isSign(ch))
        return pos == 0 && (text.isEmpty() || !isSign(text[0]));
    return false;
}

} // namespace CounterText
