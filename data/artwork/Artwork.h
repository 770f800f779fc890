// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>

// Every data file of the program (skins, button pictures, sounds) is made by code in this folder,
// so the artwork is reproducible from the repository. Each maker registers itself by file name.
namespace Artwork {

using Maker = QByteArray (*)();

bool add(const char *fileName, Maker maker);

} // namespace Artwork

#define TESSALOOM_ARTWORK(fileName, maker) \
    static const bool tessaloomArtwork_##maker = Artwork::add(fileName, maker)
