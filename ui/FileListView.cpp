// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/FileListView.h"

#include "core/FolderEntryOrder.h"
#include "generator/PageBuilder.h"
#include "ui/FileListModel.h"

#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSet>
#include <QStyle>

#include <algorithm>
#include <utility>

FileListView::FileListView(QWidget *parent)
    : QTreeView(parent), m_model(new FileListModel(this)), m_feed(new FolderFeed(this))
{
    setModel(m_model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_model, &FileListModel::sortRequested, m_feed, &FolderFeed::sortBy);
    connect(m_feed, &FolderFeed::loaded, this, [this](const FolderSnapshotPtr &snapshot) {
        replaceRows([this, snapshot] { m_model->setSnapshot(snapshot); });
    });
    setSortingEnabled(true);
    sortByColumn(NameColumn, Qt::AscendingOrder);
    // Names are what a person reads here: the Name column takes the width the size column leaves
    // (the type is in the name, the kind buttons choose it), long names lose their middle, not their
    // extension, and the whole name shows as a tooltip.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    header()->setSectionResizeMode(SizeColumn, QHeaderView::Fixed);
    fitSizeColumn();
    hideColumn(TypeColumn);
    hideColumn(DateColumn);
    setTextElideMode(Qt::ElideMiddle);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMouseTracking(true); // hot rows under the hand cursor
    viewport()->setCursor(Qt::PointingHandCursor);

    m_changeTimer.setSingleShot(true);
    m_changeTimer.setInterval(0);
    connect(&m_changeTimer, &QTimer::timeout, this, &FileListView::contentsChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, &FileListView::scheduleChange);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (m_restoringSelection)
            return; // the same files again, after new rows came in
        m_changeTimer.stop();
        Q_EMIT contentsChanged();
    });
    connect(this, &QAbstractItemView::clicked, this, [this] {
        flushPendingChange();
        Q_EMIT fileClicked();
    });
}

FileListView::~FileListView()
{
    // The feed's last snapshot must not arrive while the view goes.
    m_feed->blockSignals(true);
}

void FileListView::setFolder(const QString &folder)
{
    if (folder == m_folder)
        return;
    m_folder = folder;
    selectionModel()->clear();
    m_model->setSnapshot(nullptr); // the old folder's rows go at once; the new ones follow
    m_feed->setFolder(folder);
    m_changeTimer.stop();
    Q_EMIT folderChanged();
}

void FileListView::replaceRows(const std::function<void()> &replace)
{
    QStringList selected;
    const QModelIndexList rows = selectionModel()->selectedRows();
    for (const QModelIndex &index : rows)
        selected << m_model->fileName(index.row());
    const QString current = m_model->fileName(currentIndex().row());
    const int scrolledTo = verticalScrollBar()->value();
    const QString top = m_model->fileName(indexAt(QPoint(0, 0)).row());

    replace();

    if (selected.isEmpty() && current.isEmpty() && top.isEmpty())
        return;
    // One pass over the new rows finds the few names looked for (the selection is mostly small).
    QSet<QString> wanted(selected.cbegin(), selected.cend());
    wanted << current << top;
    wanted.remove(QString());
    QHash<QString, int> rowOf;
    for (int row = 0; row < m_model->rowCount() && rowOf.size() < wanted.size(); ++row)
        if (const QString name = m_model->fileName(row); wanted.contains(name))
            rowOf.insert(name, row);
    QList<int> keep;
    for (const QString &name : std::as_const(selected))
        if (const auto found = rowOf.constFind(name); found != rowOf.cend())
            keep << *found;
    std::sort(keep.begin(), keep.end());
    QItemSelection selection;
    for (qsizetype i = 0; i < keep.size();) { // runs of rows as ranges, not one range per row
        qsizetype j = i;
        while (j + 1 < keep.size() && keep[j + 1] == keep[j] + 1)
            ++j;
        selection.select(m_model->index(keep[i], 0), m_model->index(keep[j], 0));
        i = j + 1;
    }
    m_restoringSelection = true;
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (const auto found = rowOf.constFind(current); found != rowOf.cend())
        selectionModel()->setCurrentIndex(m_model->index(*found, 0), QItemSelectionModel::NoUpdate);
    m_restoringSelection = false;
    // The same files stay in sight: the first row shown before, or where the list was.
    if (const auto found = rowOf.constFind(top); found != rowOf.cend())
        scrollTo(m_model->index(*found, 0), QAbstractItemView::PositionAtTop);
    else
        verticalScrollBar()->setValue(scrolledTo);
}

QString FileListView::maskString() const
{
    return m_model->maskString();
}

void FileListView::setMaskString(const QString &masks)
{
    // The rows are filtered now; the caller rebuilds from them, so their change report is dropped.
    bool changed = false;
    replaceRows([this, &masks, &changed] { changed = m_model->setMaskString(masks); });
    if (changed)
        m_changeTimer.stop();
}

int FileListView::rowCount() const
{
    return m_folder.isEmpty() ? 0 : m_model->rowCount();
}

QModelIndex FileListView::rowIndex(int row) const
{
    return m_model->index(row, 0);
}

QString FileListView::rowPath(int row) const
{
    return m_model->filePath(row);
}

QString FileListView::rowName(int row) const
{
    return m_model->fileName(row);
}

int FileListView::selectedRow() const
{
    int first = -1;
    const QModelIndexList rows = selectionModel()->selectedRows();
    for (const QModelIndex &index : rows) {
        if (first < 0 || index.row() < first)
            first = index.row();
    }
    return first;
}

bool FileListView::rowIsFile(int row) const
{
    return rowIndex(row).isValid(); // the list holds files only
}

void FileListView::flushPendingChange()
{
    if (!m_changeTimer.isActive())
        return;
    m_changeTimer.stop();
    Q_EMIT contentsChanged();
}

void FileListView::keyPressEvent(QKeyEvent *event)
{
    if (!event->isAutoRepeat())
        m_keysDown.insert(event->key());
    QTreeView::keyPressEvent(event);
}

// Only a key pressed here counts: the release of an Enter that closed a dialog lands here too, and
// must not add the selected file to the pick list.
void FileListView::keyReleaseEvent(QKeyEvent *event)
{
    QTreeView::keyReleaseEvent(event);
    if (!event->isAutoRepeat() && m_keysDown.remove(event->key()))
        Q_EMIT keyReleased();
}

void FileListView::focusOutEvent(QFocusEvent *event)
{
    m_keysDown.clear();
    QTreeView::focusOutEvent(event);
}

void FileListView::scheduleChange()
{
    m_changeTimer.start();
}

// The size column is as wide as the longest size the model writes (up to a hundred gigabytes), in
// the list's own font, so a size is never cut.
void FileListView::fitSizeColumn()
{
    const int margins = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin) + 6;
    const int widest = std::max(fontMetrics().horizontalAdvance(FileSizeText(1023 * 1024 + 999)),
                                fontMetrics().horizontalAdvance(FileSizeText(99999 * 1048576LL + 999999)));
    header()->resizeSection(SizeColumn, widest + margins);
}

void FileListView::changeEvent(QEvent *event)
{
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitSizeColumn();
}
