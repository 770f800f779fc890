// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/PicklistMemo.h"

#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>

PicklistMemo::PicklistMemo(QWidget *parent) : QListView(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
    setDropIndicatorShown(false);
}

// The drop itself moves the line, so nothing is removed here when the drag ends as a move.
void PicklistMemo::startDrag(Qt::DropActions supportedActions)
{
    const QModelIndexList rows = selectedIndexes();
    if (rows.isEmpty() || !model())
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(model()->mimeData(rows));
    drag->exec(supportedActions & Qt::MoveAction ? Qt::MoveAction : supportedActions, Qt::MoveAction);
}

// Only the list's own lines are accepted: no other list starts drags. The base class still runs
// for its scrolling near the edges.
void PicklistMemo::dragEnterEvent(QDragEnterEvent *event)
{
    QListView::dragEnterEvent(event);
    if (event->source() == this) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void PicklistMemo::dragMoveEvent(QDragMoveEvent *event)
{
    QListView::dragMoveEvent(event);
    if (event->source() == this) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else {
        event->ignore();
    }
}

// The line lands on the line under the drop point, so there is no between-lines marker to show.
void PicklistMemo::dropEvent(QDropEvent *event)
{
    stopAutoScroll();
    setState(NoState);
    if (event->source() != this) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    Q_EMIT lineDropped(event->position().toPoint());
}

void PicklistMemo::keyPressEvent(QKeyEvent *event)
{
    if (event->text() == QLatin1String(" ")) {
        event->accept();
        Q_EMIT spacePressed();
        return;
    }
    QListView::keyPressEvent(event);
}
