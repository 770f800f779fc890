// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/FolderFeed.h"
#include "core/MediaKinds.h"

#include <QAbstractTableModel>
#include <QIcon>

// The file list's rows: one folder's files (a snapshot from FolderFeed, already sorted) that match
// the mask string, letter case ignored. A new snapshot or mask string replaces the rows in one go,
// never row by row, so a folder of many thousand files costs one pass and one reset of the view.
class FileListModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FileListModel)

public:
    explicit FileListModel(QObject *parent = nullptr);

    void setSnapshot(FolderSnapshotPtr snapshot); // null: no rows
    // False when the string is the current one (nothing changes).
    bool setMaskString(const QString &masks);
    QString maskString() const { return m_masks; }

    QString fileName(int row) const;
    QString filePath(int row) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // The files are sorted where they are read: this only passes the wish on.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

Q_SIGNALS:
    void sortRequested(int column, Qt::SortOrder order);

private:
    void filter();
    const FolderEntry &entry(int row) const;

    FolderSnapshotPtr m_snapshot;
    QList<qsizetype> m_shown; // indices into the snapshot's entries, in its order
    QString m_masks;
    QIcon m_fileIcon;
};
