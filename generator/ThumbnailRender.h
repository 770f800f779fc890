// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "media/PictureFile.h"
#include "media/RgbImage.h"
#include "generator/ThumbnailSize.h"

#include <QByteArray>
#include <QSize>
#include <QString>

struct RenderedThumbnail {
    QByteArray jpeg;       // the encoded thumbnail; empty on failure
    QSize size;            // its width and height
    QString error;         // why it failed
    QString colourIgnored; // made, but a colour profile that is there was not used: why
    bool upToDate = false; // the thumbnail already on disk stands for this one: nothing to write
    bool ok() const { return upToDate || !jpeg.isEmpty(); }
};

// The thumbnail's pixels before encoding: decoded, scaled, turned into sRGB through the picture's colour
// profile (at the thumbnail's size) and turned upright. Empty with error on failure; colourIgnored says
// why a profile that is there was not used.
RgbImage thumbnailPixels(const QByteArray &file, const ThumbnailRequest &request, QString *error,
                         QString *colourIgnored = nullptr);

// Makes the thumbnail of a JPEG file's bytes: upright as its EXIF orientation says, scaled to the size
// the request gives for the picture as displayed, encoded as baseline JPEG at quality 90 and marked as
// ours with the picture's stamp. Thread-safe.
RenderedThumbnail renderThumbnail(const QByteArray &file, const ThumbnailRequest &request,
                                  const PictureStamp &stamp = {});

// The same from a file on disk (read once, capped).
RenderedThumbnail renderThumbnailFile(const QString &path, const ThumbnailRequest &request);

// The DCT scale for shrink-on-load: the smallest whose result matches the target to a pixel (the DCT
// then does the filtering), or else is at least twice the target so the filter has detail to work with.
int chooseScaleDenominator(QSize stored, QSize target);
