#include "ui/FileListProxy.h"

#include "core/NaturalOrder.h"

#include <QFileSystemModel>

namespace
{

enum Column { NameColumn, SizeColumn, TypeColumn, DateColumn };

} // namespace

FileListProxy::FileListProxy(QFileSystemModel *model, QObject *parent)
    : QSortFilterProxyModel(parent), m_model(model)
{
    setSourceModel(model);
    setDynamicSortFilter(true);
}

void FileListProxy::setFolderIndex(const QModelIndex &sourceFolder)
{
    m_folder = sourceFolder;
    invalidateFilter();
}

bool FileListProxy::setMaskString(const QString &masks)
{
    if (masks == m_masks)
        return false;
    m_masks = masks;
    m_matcher = MediaKinds::MaskMatcher(masks);
    invalidateFilter();
    return true;
}

bool FileListProxy::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (!m_folder.isValid())
        return sourceParent.isValid(); // no folder shown: nothing at the top
    if (sourceParent != m_folder)
        return true;
    const QModelIndex index = m_model->index(sourceRow, NameColumn, sourceParent);
    const QFileInfo info = m_model->fileInfo(index);
    // The model lists files only and no hidden ones; a link counts when it leads to a regular file.
    return info.isFile() && !info.isHidden() && m_matcher.matches(info.fileName());
}

bool FileListProxy::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const QString leftName = m_model->fileName(left);
    const QString rightName = m_model->fileName(right);
    switch (left.column()) {
    case SizeColumn:
        if (m_model->size(left) != m_model->size(right))
            return m_model->size(left) < m_model->size(right);
        break;
    case TypeColumn: {
        const int byType = QString::compare(m_model->type(left), m_model->type(right), Qt::CaseInsensitive);
        if (byType != 0)
            return byType < 0;
        break;
    }
    case DateColumn:
        if (m_model->lastModified(left) != m_model->lastModified(right))
            return m_model->lastModified(left) < m_model->lastModified(right);
        break;
    default:
        break;
    }
    return naturalLess(leftName, rightName);
}

QVariant FileListProxy::data(const QModelIndex &index, int role) const
{
    if (role == Qt::ToolTipRole && index.column() == 0)
        return QSortFilterProxyModel::data(index, Qt::DisplayRole);
    return QSortFilterProxyModel::data(index, role);
}
