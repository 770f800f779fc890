// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/kit/WrappedText.h"

#include <QFontMetrics>
#include <QTextLayout>

#include <algorithm>

namespace WrappedText
{

namespace
{

// Every line a paragraph wraps into at the given width.
QStringList wrapParagraph(const QString &paragraph, const QFont &font, int width)
{
    if (paragraph.isEmpty())
        return {QString()};
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

} // namespace

Fit fit(const QString &text, const QFont &font, const QSize &box)
{
    const QFontMetrics metrics(font);
    QStringList all;
    const QStringList paragraphs =
        QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(u'\n');
    for (const QString &paragraph : paragraphs)
        all << wrapParagraph(paragraph, font, box.width());
    const int lineHeight = std::max(1, metrics.height());
    const int room = std::max(0, box.height() / lineHeight);
    Fit result;
    if (all.size() <= room) {
        result.lines = all;
        return result;
    }
    result.cut = true;
    result.lines = all.mid(0, room);
    if (!result.lines.isEmpty()) {
        // Say that more follows: the last line shown, then as much of the next as fits, then "…".
        QString &last = result.lines.last();
        last = metrics.elidedText(last + u' ' + all.at(room) + QChar(0x2026), Qt::ElideRight, box.width());
    }
    return result;
}

} // namespace WrappedText
