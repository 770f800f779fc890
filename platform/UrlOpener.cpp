#include "platform/UrlOpener.h"

#include <QDesktopServices>
#include <QDir>
#include <QUrl>

bool DesktopUrlOpener::openFile(const QString &filePath, const QString &workingFolder)
{
    const QUrl url = QUrl::fromLocalFile(QDir::current().absoluteFilePath(filePath));
    // The launcher inherits the current folder; lend it the requested one for the call.
    const QString current = QDir::currentPath();
    const bool lend = !workingFolder.isEmpty() && QDir::setCurrent(workingFolder);
    const bool opened = QDesktopServices::openUrl(url);
    if (lend)
        QDir::setCurrent(current);
    return opened;
}
