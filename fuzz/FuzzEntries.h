// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

// Raw bytes fed to the real header readers and name escaping, with what must hold whatever the bytes
// are. The libFuzzer targets call these, and an ordinary test replays the saved corpus through them.
// Each returns an empty text, or what did not hold.
namespace FuzzEntries
{

// A JPEG through the header reader that measures it and the decoder that makes thumbnails: both share
// libjpeg's error path. Its colour tags and embedded profile are read and opened on the way.
QString jpegHeader(QByteArrayView data);
QString gifHeader(QByteArrayView data);
QString htmlEscape(QByteArrayView data);
// The viewer's readers: a bitmap's header, a GIF's counts under the limits, the two metafile kinds.
QString bmpHeader(QByteArrayView data);
QString gifCounts(QByteArrayView data);
QString metafiles(QByteArrayView data);
// The viewer's animation: every frame of a GIF the counts accept, composed on a small canvas.
QString gifFrames(QByteArrayView data);

} // namespace FuzzEntries
