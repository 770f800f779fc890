// SPDX-License-Identifier: GPL-2.0-or-later
#include "Artwork.h"
#include "Style.h"

namespace
{

// The name dialog and the two overwrite dialogs share one size and look; only the caption of the
// title band differs.
constexpr int kWidth = 367;
constexpr int kHeight = 233;

QByteArray nameitSkin()
{
    return Style::png(Style::windowSkin(kWidth, kHeight, QStringLiteral("Name your file")));
}
QByteArray overwriteSkin()
{
    return Style::png(Style::windowSkin(kWidth, kHeight, QStringLiteral("Overwrite?")));
}

} // namespace

TESSALOOM_ARTWORK("nameit_skin.png", nameitSkin);
TESSALOOM_ARTWORK("overwrite_skin.png", overwriteSkin);
