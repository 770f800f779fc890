// SPDX-License-Identifier: GPL-2.0-or-later
#include "ScreenShot.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

QImage screenShot(const QString &name)
{
    QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    const QString dir = qEnvironmentVariable("TESSALOOM_SHOT_DIR");
    if (!dir.isEmpty())
        shot.save(dir + '/' + name);
    return shot;
}
