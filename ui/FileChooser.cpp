// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/FileChooser.h"

#include "ui/kit/FormDialogs.h"

#include <QAction>
#include <QDropEvent>
#include <QMimeData>
#include <QStyle>
#include <QUrl>

FileChooser::FileChooser(const QString &objectName, const QString &dialogTitle, QWidget *parent)
    : QLineEdit(parent), m_title(dialogTitle), m_dialogs(&QtFormDialogs::instance())
{
    setObjectName(objectName);
    setReadOnly(true);
    setAcceptDrops(false);
    QAction *folder = addAction(style()->standardIcon(QStyle::SP_DirOpenIcon), QLineEdit::TrailingPosition);
    folder->setObjectName(objectName + QStringLiteral("Folder"));
    folder->setToolTip(QString());
    connect(folder, &QAction::triggered, this, &FileChooser::choose);
}

QString FileChooser::optionPath(const QString &path)
{
    if (path.contains(QLatin1Char(' ')) && !path.startsWith(QLatin1Char('"')))
        return QLatin1Char('"') + path + QLatin1Char('"');
    return path;
}

QString FileChooser::pictureFilter()
{
    return QStringLiteral("HTML Files (*.[gG][iI][fF] *.[jJ][pP][gG])");
}

void FileChooser::choose()
{
    const QString path = m_dialogs->askFile(window(), m_title, pictureFilter());
    if (!path.isEmpty())
        Q_EMIT pathChosen(optionPath(path));
}

void FileChooser::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls() && event->mimeData()->urls().constFirst().isLocalFile())
        event->acceptProposedAction();
    else
        event->ignore();
}

void FileChooser::dragMoveEvent(QDragMoveEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void FileChooser::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.constFirst().isLocalFile()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    Q_EMIT pathChosen(optionPath(urls.constFirst().toLocalFile()));
}
