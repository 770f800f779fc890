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

QString write(const QString &programFolder, const QString &fallbackFolder, QString *error)
{
    QString reason;
    QString path;
    for (const QString &folder : {programFolder, fallbackFolder}) {
        if (folder.isEmpty())
            continue;
        QDir().mkpath(folder); // the per-user folder may not exist yet; a failure shows in the write
        path = QDir(folder).filePath(QString::fromLatin1(FileName));
        reason = SafeFile::writeAtomically(path, text(), SafeFile::Replace::RegularFileOnly);
        if (reason.isEmpty())
            return path;
    }
    if (error)
        *error = QStringLiteral("Cannot create the file %1: %2").arg(path, reason);
    return QString();
}

} // namespace EmailPage
