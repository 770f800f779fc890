// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QSize>

// What the options ask of one thumbnail: explicit sizes (0 = not given) or a divisor of the natural size.
struct ThumbnailRequest {
    int widthEdit = 0;
    int heightEdit = 0;
    int percentDivisor = 2;

    friend bool operator==(const ThumbnailRequest &, const ThumbnailRequest &) = default;
};

// The thumbnail size of a picture as displayed. Both explicit sizes are taken as they are; one explicit
// size alone brings the other by the picture's proportions; no dimension is ever below 1 pixel.
QSize thumbnailSize(QSize displayed, const ThumbnailRequest &request);
