// SPDX-License-Identifier: GPL-2.0-or-later
#include "Artwork.h"
#include "Style.h"

namespace
{

// The Options window's skin; its controls sit in panels of their own over the body.
QByteArray settingsSkin()
{
    return Style::png(Style::windowSkin(550, 510, QStringLiteral("Options")));
}

} // namespace

TESSALOOM_ARTWORK("settings_skin.png", settingsSkin);
