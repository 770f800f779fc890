// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// Pictures made in code for the page builder's and the measuring tests.
namespace PageFixtures {

// A baseline JPEG of the given size (grey), encoded by libjpeg. With orientation 1 to 8 it carries an
// EXIF APP1 segment holding that orientation, in Intel or Motorola byte order.
QByteArray jpeg(int width, int height, int orientation = 0, bool bigEndianExif = false);

// A complete small GIF (one 1x1 frame) whose logical screen is width x height; version "87a" or "89a".
QByteArray gif(int width, int height, const char *version = "89a");

// The JPEG with the size in its SOF marker replaced, the rest untouched.
QByteArray withJpegSize(QByteArray jpegBytes, int width, int height);

// Writes bytes to path, padded with zero bytes to padTo when that is larger; false on failure.
bool write(const QString &path, const QByteArray &bytes, qint64 padTo = 0);

// A sample folder: cat.jpg 800x600 of 51200 bytes, dog.gif 121x91 of 3000 bytes, owl.jpg 640x480 of
// 1100000 bytes.
bool writeSampleFolder(const QString &folder);
// Its page for kind 1 with the start-up options, two columns and both labels, lines joined by "\n"
// (the file has CR LF after every line, the last included).
const char *samplePage();

} // namespace PageFixtures
