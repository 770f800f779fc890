// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/UrlOpener.h"

#include <QDir>
#include <QProcess>
#include <QUrl>

bool DesktopUrlOpener::openFile(const QString &filePath, const QString &workingFolder,
                                FailedLater failedLater)
{
    const QUrl url = QUrl::fromLocalFile(QDir::current().absoluteFilePath(filePath));
    auto *launcher = new QProcess;
    launcher->setProgram(QStringLiteral("xdg-open"));
    launcher->setArguments({url.toString(QUrl::FullyEncoded)});
    if (!workingFolder.isEmpty())
        launcher->setWorkingDirectory(workingFolder);
    launcher->setStandardInputFile(QProcess::nullDevice());
    launcher->setProcessChannelMode(QProcess::ForwardedChannels);
    // The launcher may live as long as the browser it starts; it is let go when it ends.
    QObject::connect(launcher, &QProcess::finished, launcher,
                     [launcher, failedLater = std::move(failedLater)](int code, QProcess::ExitStatus status) {
                         if ((status != QProcess::NormalExit || code != 0) && failedLater)
                             failedLater();
                         launcher->deleteLater();
                     });
    launcher->start();
    if (launcher->waitForStarted())
        return true;
    delete launcher;
    return false;
}
