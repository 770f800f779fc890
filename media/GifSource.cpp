// SPDX-License-Identifier: GPL-2.0-or-later
#include "media/GifSource.h"

#include <gif_lib.h>

#include <cstring>

namespace
{

int readBytes(GifFileType *gif, GifByteType *out, int wanted)
{
    auto *source = static_cast<GifSource *>(gif->UserData);
    const qsizetype n = qMin<qsizetype>(wanted, source->data.size() - source->at);
    if (n <= 0)
        return 0;
    std::memcpy(out, source->data.data() + source->at, size_t(n));
    source->at += n;
    return int(n);
}

} // namespace

GifFileType *openGifSource(GifSource *source, int *error)
{
    return DGifOpen(source, readBytes, error);
}

QString gifErrorText(int code)
{
    const char *text = GifErrorString(code);
    return text ? QString::fromLatin1(text) : QStringLiteral("damaged GIF data");
}
