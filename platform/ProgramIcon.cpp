// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/ProgramIcon.h"

#include "platform/DataFiles.h"

#include <QDir>
#include <QFileInfo>

namespace ProgramIcon
{

QIcon icon()
{
    // The build tree keeps the theme's folders inside the data folder; the package installs them
    // to share/icons, beside share/tessaloom.
    const QString themed = QStringLiteral("hicolor/%1x%1/apps/" TESSALOOM_APP_ID ".png");
    const QStringList themeRoots{DataFiles::path(QStringLiteral("icons")),
                                 QDir(DataFiles::folder()).filePath(QStringLiteral("../icons"))};
    for (const QString &root : themeRoots) {
        QIcon icon;
        for (int size : {16, 32, 48, 64, 128, 256}) {
            const QString file = QDir(root).filePath(themed.arg(size));
            if (QFileInfo::exists(file))
                icon.addFile(file, QSize(size, size));
        }
        if (!icon.isNull())
            return icon;
    }
    return QIcon::fromTheme(QStringLiteral(TESSALOOM_APP_ID));
}

} // namespace ProgramIcon
