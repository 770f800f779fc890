// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/DataFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace DataFiles {

QString folder()
{
    const QString fromEnv = qEnvironmentVariable("TESSALOOM_DATA_DIR");
    if (!fromEnv.isEmpty())
        return fromEnv;
    QStringList candidates;
    if (QCoreApplication::instance())
        candidates << QCoreApplication::applicationDirPath() + QStringLiteral("/../share/tessaloom");
    candidates << QStringLiteral(TESSALOOM_BUILD_DATA_DIR) << QStringLiteral(TESSALOOM_INSTALL_DATA_DIR);
    for (const QString &dir : std::as_const(candidates)) {
        if (QFileInfo(dir).isDir())
            return QDir(dir).absolutePath();
    }
    return QStringLiteral(TESSALOOM_INSTALL_DATA_DIR);
}

QString path(const QString &fileName)
{
    return QDir(folder()).filePath(fileName);
}

} // namespace DataFiles
