// SPDX-License-Identifier: GPL-2.0-or-later
#include "Artwork.h"
#include "Style.h"

namespace
{

// The OK picture button (42 x 37) of the message window, raised and pressed.
QImage okButton(int scale)
{
    return Style::pictureButton(QSize(42, 37), scale, QStringLiteral("OK"), false);
}
QImage okButtonDown(int scale)
{
    return Style::pictureButton(QSize(42, 37), scale, QStringLiteral("OK"), true);
}

} // namespace

TESSALOOM_PICTURE("ok_button.png", okButton);
TESSALOOM_PICTURE("ok_button_down.png", okButtonDown);
