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

QString path(const QString &fileName, int scale)
{
    if (scale == 1)
        return path(fileName);
    const QFileInfo name(fileName);
    const QString base = name.path() == QLatin1String(".") ? name.completeBaseName()
                                                           : name.path() + QLatin1Char('/') + name.completeBaseName();
    return path(base + QStringLiteral("@%1x.").arg(scale) + name.suffix());
}

} // namespace DataFiles
