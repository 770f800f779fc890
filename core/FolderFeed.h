// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/FolderListing.h"

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>

// One folder's files as read at one moment, already in the order asked for.
struct FolderSnapshot {
    QString folder;
    QList<FolderEntry> entries;
    int column = 0;
    Qt::SortOrder order = Qt::AscendingOrder;
    QString error; // non-empty when the folder could not be read
};
using FolderSnapshotPtr = std::shared_ptr<const FolderSnapshot>;

// Keeps a folder's files coming without holding up the thread that asks: reading (one readdir and
// one stat per file) and sorting run on a thread of their own, and a snapshot arrives through
// loaded() once it is ready. Changes in the folder are watched and gathered for a moment, so a copy
// of many files brings a few snapshots, not one per file. Only the newest request's snapshot is
// handed on; a snapshot that a newer request makes stale is dropped.
class FolderFeed final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FolderFeed)

public:
    explicit FolderFeed(QObject *parent = nullptr);
    ~FolderFeed() override;

    // Shows another folder (empty: none) and reads it.
    void setFolder(const QString &folder);
    QString folder() const { return m_folder; }
    // Re-sorts the files last read; the folder is not read again.
    void sortBy(int column, Qt::SortOrder order);
    // Reads the folder again now, as when it changed.
    void reread();

Q_SIGNALS:
    void loaded(const FolderSnapshotPtr &snapshot);

private:
    void request(bool reread);
    void folderChanged();

    class Worker;
    QThread m_thread;
    Worker *m_worker;
    std::atomic<quint64> m_latest{0};
    QString m_folder;
    int m_column = 0;
    Qt::SortOrder m_order = Qt::AscendingOrder;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;             // waits for a burst of changes to end
    QElapsedTimer m_firstChange; // since the oldest change not yet read
};
