// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QListView>

// The pick list's list view: the press that starts a drag selects the line, a drop of its own line
// reports the drop point, and the space bar reports itself; the window does the rest.
class PicklistMemo final : public QListView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PicklistMemo)

public:
    explicit PicklistMemo(QWidget *parent = nullptr);

Q_SIGNALS:
    void lineDropped(const QPoint &viewportPos);
    void spacePressed();

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
