// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// What drawing one metafile may cost. A metafile is drawn no larger than a screen shows (scaled
// down to fit maxSide, its proportions kept); pens are no wider than the drawing; a file of more
// records, or whose drawing takes more CPU time on the reading thread, is refused with a reason.
struct MetafileLimits {
    int maxSide = 2560;
    int maxRecords = 500'000;
    int maxCpuMilliseconds = 1500;
};

// Windows metafiles drawn into a picture at their own size (the frame or bounds they declare, in
// pixels, scaled down to the limits). A null image with error set when the file cannot be read.
QImage renderWmf(const QByteArray &file, QString *error, const MetafileLimits &limits = {});
QImage renderEmf(const QByteArray &file, QString *error, const MetafileLimits &limits = {});

// The size a drawing of width x height is shown at: scaled down to fit maxSide, never up.
QSize metafileCanvasSize(qint64 width, qint64 height, int maxSide);
