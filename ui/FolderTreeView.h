// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QTreeView>

class QFileSystemModel;

// The main window's folder tree: the whole file system from its root, hidden folders included,
// kept current by the file-system model.
class FolderTreeView final : public QTreeView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderTreeView)

public:
    explicit FolderTreeView(QWidget *parent = nullptr);

    // Selects the folder, opening its ancestors; false when it is not a folder.
    bool selectFolder(const QString &path);
    // The selected folder's path ("/" for the root, no trailing separator otherwise), or empty.
    QString selectedFolder() const;

Q_SIGNALS:
    void folderSelected(const QString &path);

protected:
    void showEvent(QShowEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void keepSelectionInSight();

    QFileSystemModel *m_model;
    bool m_followSelection = false; // until the user takes over, the selected folder stays in sight
};
