// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

// The viewer's rules that need no window: which display page a file goes to, and the texts of its
// status bars.
namespace ViewerTexts
{

// Pages of the display, in order.
enum Page { NilPage = 0, GifPage = 1, JpgPage = 2, BmpPage = 3, WinPage = 4, MciPage = 5 };

// The extension from the name's last "." on, with the dot, in lower case; empty without a dot.
QString extensionOf(const QString &name);

// The first of the pages 1 to 5 whose extension list contains the extension as a substring; 0 when
// none does or the extension is empty (".mp3" finds page 5, ".jpeg" none).
int pageFor(const QString &extension);

// " " + NAME + "    Size - " + the size figure with " Bytes", " KB" or " MB".
QString nameSizeText(const QString &name, qint64 bytes);

// The picture shown for a sound: "wav.jpg", "midi.jpg", "mp3.jpg"; empty for any other extension.
QString soundPictureFor(const QString &extension);

QString widthText(int width);
QString heightText(int height);
QString gifColoursText(int colours, int frames);
QString bitmapColoursText(qint64 colours); // an unknown count (0) gives the empty " Colors - "

} // namespace ViewerTexts
