// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/MediaKinds.h"

#include <QTextStream>

// Makes the picture a movie page shows for every movie of the folder that has none, from the frame
// at one tenth of the movie, by the frame grabber's own save (crop, size limits, name, atomic
// write). An existing picture, or anything else at its name, is never replaced.
struct PosterCounts {
    int made = 0;
    int failed = 0;
};

PosterCounts makeMissingPosters(const QString &folder, MediaKind kind, QTextStream &out, QTextStream &err);
