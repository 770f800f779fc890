#pragma once

#include "core/MediaKinds.h"

#include <QPersistentModelIndex>
#include <QSortFilterProxyModel>

class QFileSystemModel;

// Sits between the file-system model and the file list: keeps only the shown folder's regular files
// that match the mask string (letter case ignored), and orders names as a file manager does.
// Only rows directly under the shown folder are filtered: filtering its ancestors would hide it.
class FileListProxy final : public QSortFilterProxyModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FileListProxy)

public:
    explicit FileListProxy(QFileSystemModel *model, QObject *parent = nullptr);

    void setFolderIndex(const QModelIndex &sourceFolder);
    // False when the string is the current one (nothing re-read).
    bool setMaskString(const QString &masks);
    QString maskString() const { return m_masks; }

    // The Name column's tooltip is the whole name, which the column may show shortened.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    QFileSystemModel *m_model;
    QPersistentModelIndex m_folder;
    QString m_masks;
    MediaKinds::MaskMatcher m_matcher{QString()};
};
