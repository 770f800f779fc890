// SPDX-License-Identifier: GPL-2.0-or-later
#include "Artwork.h"
#include "Style.h"

namespace {

// The test window's skin: shows the shared look at a small size.
QByteArray sampleSkin() { return Style::png(Style::windowSkin(240, 120, QStringLiteral("Tessaloom"))); }

} // namespace

TESSALOOM_ARTWORK("sample_skin.png", sampleSkin);
