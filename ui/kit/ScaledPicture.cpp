// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/kit/ScaledPicture.h"

#include "platform/DataFiles.h"

#include <QPaintDevice>

ScaledPicture ScaledPicture::load(const QString &fileName)
{
    ScaledPicture picture;
    picture.normal = QPixmap(DataFiles::path(fileName));
    if (picture.normal.isNull())
        return picture;
    QPixmap sharp(DataFiles::path(fileName, 2));
    // A copy of another size would move every control drawn over it: it is taken only when exact.
    if (!sharp.isNull() && sharp.size() == picture.normal.size() * 2) {
        sharp.setDevicePixelRatio(2);
        picture.sharp = sharp;
    } else if (!sharp.isNull()) {
        qWarning("%s is not twice the size of %s", qPrintable(DataFiles::path(fileName, 2)),
                 qPrintable(fileName));
    }
    return picture;
}

const QPixmap &ScaledPicture::forRatio(qreal devicePixelRatio) const
{
    return devicePixelRatio > 1 && !sharp.isNull() ? sharp : normal;
}

const QPixmap &ScaledPicture::forDevice(const QPaintDevice *device) const
{
    return forRatio(device ? device->devicePixelRatioF() : 1.0);
}
