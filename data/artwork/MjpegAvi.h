// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QList>

// A motion-JPEG AVI file in memory: one video stream, every frame a key frame, with an index.
namespace MjpegAvi
{

QByteArray write(const QList<QByteArray> &jpegFrames, int width, int height, int framesPerSecond);

} // namespace MjpegAvi
