// SPDX-License-Identifier: GPL-2.0-or-later
#include "Artwork.h"
#include "Style.h"

namespace
{

// The Options window's skin; its controls sit in panels of their own over the body.
QImage settingsSkin(int scale)
{
    return Style::windowSkin(QSize(550, 510), scale, QStringLiteral("Options"));
}

} // namespace

TESSALOOM_SKIN("settings_skin.png", settingsSkin, Style::Key);
