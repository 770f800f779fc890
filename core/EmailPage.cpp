// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/EmailPage.h"

#include "core/SafeFile.h"

#include <QDir>

namespace EmailPage
{

QByteArray text(const QString &address)
{
    return QByteArrayLiteral("<HTML>\r\n") +
           QStringLiteral("<META HTTP-EQUIV=\"Refresh\" CONTENT=\"1; URL=mailto:%1\">\r\n")
               .arg(address)
               .toUtf8() +
           QByteArrayLiteral("</HTML>\r\n");
}

QString write(const QString &dataFolder, QString *error)
{
    QString reason = QStringLiteral("no folder for the user's data");
    QString path = QString::fromLatin1(FileName);
    if (!dataFolder.isEmpty()) {
        QDir().mkpath(dataFolder); // a failure shows in the write
        path = QDir(dataFolder).filePath(path);
        reason = SafeFile::writeAtomically(path, text(), SafeFile::Replace::RegularFileOnly);
        if (reason.isEmpty())
            return path;
    }
    if (error)
        *error = QStringLiteral("Cannot create the file %1: %2").arg(path, reason);
    return QString();
}

} // namespace EmailPage
