// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QPixmap>
#include <QString>

class QPaintDevice;

// A picture of the data folder as drawn for an ordinary screen, with its copy drawn at twice the
// pixels for a HiDPI one ("name@2x.png", made by the artwork generator beside "name.png"). Both
// cover the same points; outlines and sizes always come from the ordinary one.
struct ScaledPicture {
    QPixmap normal;
    QPixmap sharp; // device pixel ratio 2, or null where the data folder has no @2x copy

    // Null pictures where the file is missing; the caller says so.
    static ScaledPicture load(const QString &fileName);

    // The copy to draw on a device of that many pixels per point: the sharp one above 1 (at 1.5
    // Qt shrinks it, sharper than growing the normal one), else the normal one.
    const QPixmap &forRatio(qreal devicePixelRatio) const;
    const QPixmap &forDevice(const QPaintDevice *device) const;

    bool isNull() const { return normal.isNull(); }
};
