// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/ListingPorts.h"

#include <QSet>
#include <QTimer>
#include <QTreeView>

#include <functional>

class FileListModel;
class FolderFeed;

// The main window's file list: a report view (name, size, type, date) of one folder's files,
// several rows selectable, re-sorted by its column headers, kept in step with the folder by a feed
// that reads and sorts off the window's thread, so a folder of many thousand files never stalls it. It is the
// FileListRows the listing logic reads, and it reports the listing's events: contentsChanged (rows or
// selection changed), folderChanged, fileClicked, keyReleased.
class FileListView final : public QTreeView, public FileListRows
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FileListView)

public:
    explicit FileListView(QWidget *parent = nullptr);
    ~FileListView() override;

    void setFolder(const QString &folder);
    QString folder() const { return m_folder; }
    QString maskString() const;

    // FileListRows
    void setMaskString(const QString &masks) override;
    int rowCount() const override;
    QString rowPath(int row) const override;
    QString rowName(int row) const override;
    int selectedRow() const override;
    bool rowIsFile(int row) const override;

    // Runs a change report that is still waiting, so a click sees the rows as they are now.
    void flushPendingChange();

Q_SIGNALS:
    void contentsChanged();
    void folderChanged();
    void fileClicked();
    void keyReleased();

protected:
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void fitSizeColumn();
    QModelIndex rowIndex(int row) const;
    void scheduleChange();
    // Replaces the rows, keeping the selected files (by name) selected and current.
    void replaceRows(const std::function<void()> &replace);

    FileListModel *m_model;
    FolderFeed *m_feed;
    QSet<int> m_keysDown; // keys pressed in the list and not yet released
    bool m_restoringSelection = false;
    QString m_folder;
    QTimer m_changeTimer; // coalesces the model's bursts of row reports into one change event
};
