// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// Movies for the tests, made by tests/support/make_numbered_movies.sh with ffmpeg: 75 frames at 25
// frames per second, each carrying its own number in seven black or white 16 x 16 blocks from
// (16, 16) (block k white = bit k set).
namespace MovieFixtures
{

constexpr int FrameCount = 75;

// Makes each "name:codec:WxH" movie in folder (codec mjpeg, mpeg4 or mpeg1); "name:codec:WxH:sound"
// adds a tone as its sound track. Empty on success, else ffmpeg's complaint.
QString make(const QString &folder, const QStringList &specs);

// The number painted into a frame, read from image whose top left corner is the frame's (dx, dy).
int frameNumberIn(const QImage &image, int dx = 0, int dy = 0);

} // namespace MovieFixtures
