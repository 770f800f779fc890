// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/FolderEntryOrder.h"

#include "core/NaturalOrder.h"

#include <algorithm>
#include <vector>

QString fileTypeText(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot == name.size() - 1)
        return QStringLiteral("File");
    return name.mid(dot + 1).toUpper() + QStringLiteral(" File");
}

void sortFolderEntries(QList<FolderEntry> &entries, int column, Qt::SortOrder order)
{
    const auto byName = [](const FolderEntry &a, const FolderEntry &b) {
        return naturalLess(a.name, b.name);
    };
    switch (column) {
    case SizeColumn:
        std::sort(entries.begin(), entries.end(), [&byName](const FolderEntry &a, const FolderEntry &b) {
            return a.size != b.size ? a.size < b.size : byName(a, b);
        });
        break;
    case DateColumn:
        std::sort(entries.begin(), entries.end(), [&byName](const FolderEntry &a, const FolderEntry &b) {
            return a.modifiedMs != b.modifiedMs ? a.modifiedMs < b.modifiedMs : byName(a, b);
        });
        break;
    case TypeColumn: {
        // The type texts are made once per entry, not once per comparison.
        std::vector<std::pair<QString, FolderEntry>> keyed;
        keyed.reserve(size_t(entries.size()));
        for (FolderEntry &entry : entries)
            keyed.emplace_back(fileTypeText(entry.name), std::move(entry));
        std::sort(keyed.begin(), keyed.end(), [&byName](const auto &a, const auto &b) {
            const int byType = QString::compare(a.first, b.first, Qt::CaseInsensitive);
            return byType != 0 ? byType < 0 : byName(a.second, b.second);
        });
        for (qsizetype i = 0; i < entries.size(); ++i)
            entries[i] = std::move(keyed[size_t(i)].second);
        break;
    }
    default:
        std::sort(entries.begin(), entries.end(), byName);
        break;
    }
    if (order == Qt::DescendingOrder)
        std::reverse(entries.begin(), entries.end());
}
