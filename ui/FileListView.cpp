#include "ui/FileListView.h"

#include "ui/FileListProxy.h"

#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>

FileListView::FileListView(QWidget *parent)
    : QTreeView(parent), m_model(new QFileSystemModel(this)), m_proxy(new FileListProxy(m_model, this))
{
    m_model->setFilter(QDir::Files | QDir::NoDotAndDotDot);
    m_model->setReadOnly(true);
    setModel(m_proxy);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(true);
    sortByColumn(0, Qt::AscendingOrder);
    // Names are what a person reads here: the Name column takes the width the size column leaves
    // (the type is in the name, the kind buttons choose it), long names lose their middle, not their
    // extension, and the whole name shows as a tooltip.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::Stretch);
    header()->setSectionResizeMode(1, QHeaderView::Fixed);
    fitSizeColumn();
    hideColumn(2);
    hideColumn(3);
    setTextElideMode(Qt::ElideMiddle);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMouseTracking(true); // hot rows under the hand cursor
    viewport()->setCursor(Qt::PointingHandCursor);

    m_changeTimer.setSingleShot(true);
    m_changeTimer.setInterval(0);
    connect(&m_changeTimer, &QTimer::timeout, this, &FileListView::contentsChanged);
    connect(m_proxy, &QAbstractItemModel::rowsInserted, this, &FileListView::scheduleChange);
    connect(m_proxy, &QAbstractItemModel::rowsRemoved, this, &FileListView::scheduleChange);
    connect(m_proxy, &QAbstractItemModel::modelReset, this, &FileListView::scheduleChange);
    connect(m_proxy, &QAbstractItemModel::layoutChanged, this, &FileListView::scheduleChange);
    // Names come and go as inserted and removed rows; dataChanged only brings late icons and sizes,
    // and taking it for a change would forget the file the user just clicked.
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        m_changeTimer.stop();
        Q_EMIT contentsChanged();
    });
    connect(this, &QAbstractItemView::clicked, this, [this] {
        flushPendingChange();
        Q_EMIT fileClicked();
    });
}

void FileListView::setFolder(const QString &folder)
{
    if (folder == m_folder)
        return;
    m_folder = folder;
    selectionModel()->clear();
    if (folder.isEmpty()) {
        m_proxy->setFolderIndex(QModelIndex()); // shows nothing
        setRootIndex(QModelIndex());
    } else {
        const QModelIndex source = m_model->setRootPath(folder);
        m_proxy->setFolderIndex(source);
        setRootIndex(m_proxy->mapFromSource(source));
    }
    m_changeTimer.stop();
    Q_EMIT folderChanged();
}

QString FileListView::maskString() const
{
    return m_proxy->maskString();
}

void FileListView::setMaskString(const QString &masks)
{
    // The rows are re-read now; the caller rebuilds from them, so their change report is dropped.
    if (m_proxy->setMaskString(masks))
        m_changeTimer.stop();
}

int FileListView::rowCount() const
{
    return m_folder.isEmpty() ? 0 : m_proxy->rowCount(rootIndex());
}

QModelIndex FileListView::rowIndex(int row) const
{
    return m_proxy->index(row, 0, rootIndex());
}

QString FileListView::rowPath(int row) const
{
    return m_model->filePath(m_proxy->mapToSource(rowIndex(row)));
}

int FileListView::selectedRow() const
{
    int first = -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    for (const QModelIndex &index : rows) {
        if (index.parent() == rootIndex() && (first < 0 || index.row() < first))
            first = index.row();
    }
    return first;
}

bool FileListView::rowIsFile(int row) const
{
    const QModelIndex index = rowIndex(row);
    return index.isValid() && !m_model->isDir(m_proxy->mapToSource(index));
}

void FileListView::flushPendingChange()
{
    if (!m_changeTimer.isActive())
        return;
    m_changeTimer.stop();
    Q_EMIT contentsChanged();
}

void FileListView::keyReleaseEvent(QKeyEvent *event)
{
    QTreeView::keyReleaseEvent(event);
    if (!event->isAutoRepeat())
        Q_EMIT keyReleased();
}

void FileListView::scheduleChange()
{
    m_changeTimer.start();
}

// The size column is as wide as the longest size the model writes ("1023.99 KiB"), in the list's
// own font, so a size is never cut.
void FileListView::fitSizeColumn()
{
    const int margins = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin) + 6;
    header()->resizeSection(1, fontMetrics().horizontalAdvance(QStringLiteral("1023.99 KiB")) + margins);
}

void FileListView::changeEvent(QEvent *event)
{
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitSizeColumn();
}
