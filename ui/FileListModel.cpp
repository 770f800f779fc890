// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/FileListModel.h"

#include "core/FolderEntryOrder.h"
#include "generator/PageBuilder.h"

#include <QDateTime>
#include <QFileIconProvider>
#include <QLocale>

FileListModel::FileListModel(QObject *parent)
    : QAbstractTableModel(parent), m_fileIcon(QFileIconProvider().icon(QAbstractFileIconProvider::File))
{
}

void FileListModel::setSnapshot(FolderSnapshotPtr snapshot)
{
    beginResetModel();
    m_snapshot = std::move(snapshot);
    filter();
    endResetModel();
}

bool FileListModel::setMaskString(const QString &masks)
{
    if (masks == m_masks)
        return false;
    beginResetModel();
    m_masks = masks;
    filter();
    endResetModel();
    return true;
}

void FileListModel::filter()
{
    m_shown.clear();
    if (!m_snapshot)
        return;
    const QList<FolderEntry> &entries = m_snapshot->entries;
    m_shown.reserve(entries.size());
    if (const quint16 kindBit = kindBitOfMasks(m_masks)) { // a kind's masks: settled when read
        for (qsizetype i = 0; i < entries.size(); ++i)
            if (entries[i].kinds & kindBit)
                m_shown.append(i);
        return;
    }
    const MediaKinds::MaskMatcher matcher(m_masks);
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (matcher.matches(entries[i].name))
            m_shown.append(i);
}

const FolderEntry &FileListModel::entry(int row) const
{
    return m_snapshot->entries[m_shown[row]];
}

QString FileListModel::fileName(int row) const
{
    return row >= 0 && row < m_shown.size() ? entry(row).name : QString();
}

QString FileListModel::filePath(int row) const
{
    return row >= 0 && row < m_shown.size() ? JoinFolderFile(m_snapshot->folder, entry(row).name) : QString();
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int FileListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : FileListColumnCount;
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown.size())
        return {};
    const FolderEntry &file = entry(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NameColumn:
            return file.name;
        case SizeColumn:
            return FileSizeText(file.size); // as the page writes it under the picture
        case TypeColumn:
            return fileTypeText(file.name);
        case DateColumn:
            return QLocale::system().toString(QDateTime::fromMSecsSinceEpoch(file.modifiedMs),
                                              QLocale::ShortFormat);
        }
        break;
    case Qt::ToolTipRole: // the Name column may show the name shortened
        return index.column() == NameColumn ? QVariant(file.name) : QVariant();
    case Qt::DecorationRole:
        return index.column() == NameColumn ? QVariant(m_fileIcon) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == SizeColumn ? QVariant(int(Qt::AlignTrailing | Qt::AlignVCenter))
                                            : QVariant();
    default:
        break;
    }
    return {};
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // A column clicked for the first time sorts from the smallest, whatever order the last one had.
    if (orientation == Qt::Horizontal && role == Qt::InitialSortOrderRole)
        return int(Qt::AscendingOrder);
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case NameColumn:
        return tr("Name");
    case SizeColumn:
        return tr("Size");
    case TypeColumn:
        return tr("Type");
    case DateColumn:
        return tr("Date Modified");
    }
    return {};
}

void FileListModel::sort(int column, Qt::SortOrder order)
{
    Q_EMIT sortRequested(column, order);
}
