// SPDX-License-Identifier: GPL-2.0-or-later
#include "media/Metafile.h"

#include <QSize>

#include <algorithm>
#include <cmath>

QSize metafileCanvasSize(qint64 width, qint64 height, int maxSide)
{
    const double scale = std::min(1.0, double(maxSide) / double(std::max(width, height)));
    return QSize(int(std::clamp<qint64>(std::llround(width * scale), 1, maxSide)),
                 int(std::clamp<qint64>(std::llround(height * scale), 1, maxSide)));
}
