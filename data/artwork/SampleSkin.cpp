// SPDX-License-Identifier: GPL-2.0-or-later
#include "Artwork.h"
#include "Style.h"

namespace {

// The test window's skin: shows the shared look at a small size.
QImage sampleSkin(int scale) { return Style::windowSkin(QSize(240, 120), scale, QStringLiteral("Tessaloom")); }

} // namespace

TESSALOOM_SKIN("sample_skin.png", sampleSkin, Style::Key);
