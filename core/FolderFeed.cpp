// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/FolderFeed.h"

#include "core/FolderEntryOrder.h"

#include <QFileInfo>

namespace
{

constexpr int kSettleMs = 100;      // a burst of changes is read once it pauses this long
constexpr int kLongestWaitMs = 500; // but a steady stream is still read this often

} // namespace

// Lives on the feed's thread; holds the files last read there, for re-sorting without reading.
class FolderFeed::Worker final : public QObject
{
public:
    explicit Worker(std::atomic<quint64> &latest) : m_latest(latest) {}

    FolderSnapshotPtr work(quint64 serial, const QString &folder, int column, Qt::SortOrder order,
                           bool reread)
    {
        m_mustReread = m_mustReread || reread || folder != m_folder;
        if (serial != m_latest.load())
            return {}; // a newer request follows; it does this one's work
        auto snapshot = std::make_shared<FolderSnapshot>();
        if (m_mustReread) {
            FolderEntries read = folder.isEmpty() ? FolderEntries{} : readFolderEntries(folder);
            m_entries = std::move(read.entries);
            m_error = read.error;
            m_folder = folder;
            m_mustReread = false;
        }
        sortFolderEntries(m_entries, column, order);
        snapshot->folder = folder;
        snapshot->entries = m_entries;
        snapshot->column = column;
        snapshot->order = order;
        snapshot->error = m_error;
        return snapshot;
    }

private:
    std::atomic<quint64> &m_latest;
    QString m_folder;
    QList<FolderEntry> m_entries;
    QString m_error;
    bool m_mustReread = true;
};

FolderFeed::FolderFeed(QObject *parent) : QObject(parent), m_worker(new Worker(m_latest))
{
    m_worker->moveToThread(&m_thread);
    m_thread.setObjectName(QStringLiteral("FolderFeed"));
    m_thread.start();
    m_settle.setSingleShot(true);
    connect(&m_settle, &QTimer::timeout, this, &FolderFeed::reread);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &FolderFeed::folderChanged);
}

FolderFeed::~FolderFeed()
{
    m_latest = ~quint64(0); // what is still queued is stale
    m_thread.quit();
    m_thread.wait();
    delete m_worker;
}

void FolderFeed::setFolder(const QString &folder)
{
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_folder = folder;
    m_settle.stop();
    if (!folder.isEmpty())
        m_watcher.addPath(folder);
    request(true);
}

void FolderFeed::sortBy(int column, Qt::SortOrder order)
{
    m_column = column;
    m_order = order;
    request(false);
}

void FolderFeed::reread()
{
    m_settle.stop();
    // A folder that was removed and made again is a new watch.
    if (!m_folder.isEmpty() && m_watcher.directories().isEmpty() && QFileInfo(m_folder).isDir())
        m_watcher.addPath(m_folder);
    request(true);
}

void FolderFeed::folderChanged()
{
    if (!m_settle.isActive())
        m_firstChange.start();
    m_settle.start(m_firstChange.elapsed() >= kLongestWaitMs ? 0 : kSettleMs);
}

void FolderFeed::request(bool reread)
{
    const quint64 serial = ++m_latest;
    const QString folder = m_folder;
    const int column = m_column;
    const Qt::SortOrder order = m_order;
    QMetaObject::invokeMethod(
        m_worker,
        [this, serial, folder, column, order, reread] {
            FolderSnapshotPtr snapshot = m_worker->work(serial, folder, column, order, reread);
            if (!snapshot)
                return;
            // Back on the feed's own thread; the feed outlives this thread, so it is there to receive.
            QMetaObject::invokeMethod(
                this,
                [this, serial, snapshot] {
                    if (serial == m_latest.load())
                        Q_EMIT loaded(snapshot);
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}
