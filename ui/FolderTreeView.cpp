#include "ui/FolderTreeView.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>

FolderTreeView::FolderTreeView(QWidget *parent) : QTreeView(parent), m_model(new QFileSystemModel(this))
{
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden);
    m_model->setReadOnly(true);
    m_model->setRootPath(QDir::rootPath());
    setModel(m_model);
    for (int column = 1; column < m_model->columnCount(); ++column)
        hideColumn(column);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAnimated(false);
    // Folders load in the background: keep the selected one in sight as its ancestors fill in.
    connect(m_model, &QFileSystemModel::directoryLoaded, this, [this] {
        if (currentIndex().isValid())
            scrollTo(currentIndex());
    });
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
    scrollTo(index);
    return true;
}

QString FolderTreeView::selectedFolder() const
{
    const QModelIndex index = currentIndex();
    if (!index.isValid())
        return {};
    const QString path = m_model->filePath(index);
    return QFileInfo(path).isDir() ? QDir::cleanPath(path) : QString();
}
