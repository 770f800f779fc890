// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "generator/ThumbnailSize.h"

#include <QSize>
#include <QString>

#include <optional>

// Whether a thumbnail kept from an earlier run can stand for a new one, decided from the two files'
// stamps and their first segments only: nothing is decoded.
//
// Up to date means all of: the thumbnail is a regular file (never a link) that ends like a whole JPEG,
// carries our marker made for its name, is newer than its picture, and the marker records the
// picture's present size, modification time, change time and inode number, and the size the request
// gives the picture now, and, for a picture whose colours go through a profile, the marker says the
// thumbnail was made in sRGB. Anything else is made again.
bool thumbnailIsUpToDate(const QString &picturePath, const QString &thumbnailPath,
                         const ThumbnailRequest &request);

// The stored size and the EXIF orientation (1 to 8) of a JPEG file, from the segments before its first
// scan, as the thumbnail decoder reads them. Nothing when the header cannot be read.
struct JpegFrameFacts {
    QSize stored;
    int orientation = 1;
    bool colourProfiled = false; // its colours go through a profile on their way to sRGB
};
std::optional<JpegFrameFacts> readJpegFrameFacts(int fd);
