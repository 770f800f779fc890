// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/FolderTreeView.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

FolderTreeView::FolderTreeView(QWidget *parent) : QTreeView(parent), m_model(new QFileSystemModel(this))
{
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden);
    m_model->setReadOnly(true);
    m_model->setRootPath(QDir::rootPath());
    setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column)
        hideColumn(column);
    header()->hide();
    // Deep folders are read whole: the column is as wide as its names, scrolled sideways as needed.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAnimated(false);
    // The tree moves only when the person scrolls it, or to show a folder the program chose: a click
    // neither scrolls to the clicked row nor, half a second later, to its whole height.
    setAutoScroll(false);
    // Folders load and sort in the background, moving the chosen one; follow it until the person
    // scrolls or clicks.
    connect(m_model, &QFileSystemModel::directoryLoaded, this, &FolderTreeView::keepSelectionInSight);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, &FolderTreeView::keepSelectionInSight);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { Q_EMIT folderSelected(selectedFolder()); });
}

bool FolderTreeView::selectFolder(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isDir())
        return false;
    const QModelIndex index = m_model->index(QDir::cleanPath(info.absoluteFilePath()));
    if (!index.isValid())
        return false;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        expand(up);
    setCurrentIndex(index);
    m_followSelection = true;
    keepSelectionInSight();
    return true;
}

void FolderTreeView::showEvent(QShowEvent *event)
{
    QTreeView::showEvent(event);
    keepSelectionInSight(); // a selection made before the first showing had no room to scroll to
}

bool FolderTreeView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::Wheel)
        m_followSelection = false;
    return QTreeView::viewportEvent(event);
}

void FolderTreeView::keyPressEvent(QKeyEvent *event)
{
    m_followSelection = false;
    const QModelIndex before = currentIndex();
    QTreeView::keyPressEvent(event);
    if (currentIndex() != before) // the keys move the choice: it stays in sight, up and down only
        scrollTo(currentIndex(), QAbstractItemView::EnsureVisible);
}

void FolderTreeView::keepSelectionInSight()
{
    if (!m_followSelection || !currentIndex().isValid() || !isVisible())
        return; // before the first showing the viewport has no size to scroll against
    const int sideways = horizontalScrollBar()->value();
    scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
    // Sideways only as far as the chosen folder's name needs, so the names above it stay readable.
    horizontalScrollBar()->setValue(sideways);
    const QRect item = visualRect(currentIndex());
    const int icon =
        iconSize().isValid() ? iconSize().width() : style()->pixelMetric(QStyle::PM_SmallIconSize);
    const int textRight =
        item.left() + icon + 8 + fontMetrics().horizontalAdvance(currentIndex().data().toString());
    const int needed = std::min(textRight - viewport()->width(), item.left() - indentation());
    horizontalScrollBar()->setValue(std::max(0, sideways + needed));
}

QString FolderTreeView::selectedFolder() const
{
    const QModelIndex index = currentIndex();
    if (!index.isValid())
        return {};
    const QString path = m_model->filePath(index);
    return QFileInfo(path).isDir() ? QDir::cleanPath(path) : QString();
}
