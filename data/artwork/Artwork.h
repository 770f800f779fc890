// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>

#include <functional>

// Every data file of the program (skins, button pictures, sounds) is made by code in this folder,
// so the artwork is reproducible from the repository. Each maker registers itself by file name.
namespace Artwork {

using Maker = std::function<QByteArray()>;
// Draws a picture at a scale (1, or 2 for HiDPI screens) with the same geometry: see Style.h.
using Painter = QImage (*)(int scale);

bool add(const char *fileName, Maker maker);

// A window's picture (skin or button): fileName ("name.png") drawn at 1x, and "name@2x.png" drawn at
// 2x beside it. key: the colour a skin cuts out of its window, whose pixels the 2x copy then has
// exactly where the 1x one has them (an invalid colour for a picture without one).
bool addPicture(const char *fileName, Painter painter, const QColor &key = QColor());

} // namespace Artwork

#define TESSALOOM_ARTWORK(fileName, maker) \
    static const bool tessaloomArtwork_##maker = Artwork::add(fileName, maker)
#define TESSALOOM_PICTURE(fileName, painter) \
    static const bool tessaloomPicture_##painter = Artwork::addPicture(fileName, painter)
#define TESSALOOM_SKIN(fileName, painter, key) \
    static const bool tessaloomSkin_##painter = Artwork::addPicture(fileName, painter, key)
