// SPDX-License-Identifier: GPL-2.0-or-later
#include "Artwork.h"
#include "Style.h"

namespace
{

// The name dialog and the two overwrite dialogs share one size and look; only the caption of the
// title band differs.
constexpr int kWidth = 367;
constexpr int kHeight = 233;

QImage nameitSkin(int scale)
{
    return Style::windowSkin(QSize(kWidth, kHeight), scale, QStringLiteral("Name your file"));
}
QImage overwriteSkin(int scale)
{
    return Style::windowSkin(QSize(kWidth, kHeight), scale, QStringLiteral("Overwrite?"));
}

} // namespace

TESSALOOM_SKIN("nameit_skin.png", nameitSkin, Style::Key);
TESSALOOM_SKIN("overwrite_skin.png", overwriteSkin, Style::Key);
