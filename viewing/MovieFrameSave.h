// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/SafeFile.h"
#include "media/RgbImage.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

// The picture that stands for a movie on its page, cut from one of its frames: the frame less a
// 5-pixel margin at the top left (and 1 pixel at the right and bottom), at most 320 x 240, as a
// baseline 24-bit JPEG at quality 90, written atomically beside the movie under the page's name for
// it (Clip.avi gives Clip.jpg).
namespace MovieFrameSave
{

constexpr int Margin = 5;
constexpr int MaxWidth = 320;
constexpr int MaxHeight = 240;
constexpr int Quality = 90;

// The saved picture's size for a frame of this size; empty when the frame is smaller than 7 x 7.
QSize savedSize(const QSize &frame);

// Where the picture of the movie at moviePath goes.
QString picturePathOf(const QString &moviePath);

struct Result {
    QString path;  // the picture's full path
    QString error; // empty on success; otherwise names the file and the reason
    bool ok() const { return error.isEmpty(); }
};

// Any picture as the encoder's 24-bit rows.
RgbImage rgbImageOf(const QImage &image);

// Cuts, encodes and writes the picture of frame for the movie. mode says whether an earlier
// regular file of the name is replaced.
Result save(const QImage &frame, const QString &moviePath, SafeFile::Replace mode);

// The frame a movie's picture is cut from (the page's pictures take the one at a tenth of the movie),
// or a null image with reason set.
using FrameSource = std::function<QImage(const QString &moviePath, QString *reason)>;

// Makes the picture of one movie from the frame source, never replacing anything at the picture's
// name; the error names the movie when it gives no frame.
Result saveFrameOf(const QString &moviePath, const FrameSource &frames);

} // namespace MovieFrameSave
