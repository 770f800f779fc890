// SPDX-License-Identifier: GPL-2.0-or-later
#include "Artwork.h"
#include "Style.h"

namespace
{

// The OK picture button (42 x 37) of the message window, raised and pressed.
QByteArray okButton()
{
    return Style::png(Style::pictureButton(QSize(42, 37), QStringLiteral("OK"), false));
}
QByteArray okButtonDown()
{
    return Style::png(Style::pictureButton(QSize(42, 37), QStringLiteral("OK"), true));
}

} // namespace

TESSALOOM_ARTWORK("ok_button.png", okButton);
TESSALOOM_ARTWORK("ok_button_down.png", okButtonDown);
