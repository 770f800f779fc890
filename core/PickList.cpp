// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/PickList.h"

namespace PickList {

bool isBlankLine(const QString &line)
{
    for (const QChar c : line) {
        if (c.unicode() > 32)
            return false;
    }
    return true;
}

QStringList namesOf(const QStringList &lines)
{
    QStringList names;
    names.reserve(lines.size());
    for (const QString &line : lines) {
        if (!isBlankLine(line))
            names.append(line);
    }
    return names;
}

std::optional<int> dropTarget(int selected, int dropRow, int count)
{
    if (selected < 0 || selected >= count)
        return std::nullopt;
    int target = dropRow < 0 ? count : dropRow;
    if (target >= count)
        target = count - 1;
    if (target == selected)
        return std::nullopt;
    return target;
}

QStringList moved(const QStringList &lines, int from, int to)
{
    QStringList result = lines;
    if (from < 0 || from >= result.size() || to < 0 || to >= result.size())
        return result;
    result.move(from, to);
    return result;
}

int modelDestination(int from, int to) { return to > from ? to + 1 : to; }

std::optional<MediaKind> kindForFirstName(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return std::nullopt;
    const QString extension = name.mid(dot).toUpper();
    if (extension == QLatin1String(".MID"))
        return mkMid;
    if (extension == QLatin1String(".MP3"))
        return mkMp3;
    if (extension == QLatin1String(".WAV"))
        return mkWav;
    if (extension == QLatin1String(".GIF") || extension == QLatin1String(".JPG"))
        return mkGifJpg;
    if (extension == QLatin1String(".MPG"))
        return mkMpg;
    if (extension == QLatin1String(".AVI"))
        return mkAvi;
    return std::nullopt;
}

} // namespace PickList
