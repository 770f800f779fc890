// SPDX-License-Identifier: GPL-2.0-or-later
#include "media/GifInfo.h"

#include "media/GifSource.h"

#include <gif_lib.h>

namespace
{

struct Closer {
    GifFileType *gif = nullptr;
    ~Closer()
    {
        if (gif)
            DGifCloseFile(gif, nullptr);
    }
};

// Walks past one image's compressed blocks without decompressing them.
bool skipImageData(GifFileType *gif)
{
    int codeSize = 0;
    GifByteType *block = nullptr;
    if (DGifGetCode(gif, &codeSize, &block) == GIF_ERROR)
        return false;
    while (block) {
        if (DGifGetCodeNext(gif, &block) == GIF_ERROR)
            return false;
    }
    return true;
}

bool skipExtension(GifFileType *gif)
{
    int code = 0;
    GifByteType *block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
        return false;
    while (block) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
            return false;
    }
    return true;
}

} // namespace

GifInfo readGifInfo(QByteArrayView data, const GifLimits &limits)
{
    GifInfo info;
    GifSource source{data};
    int error = 0;
    Closer closer{openGifSource(&source, &error)};
    GifFileType *gif = closer.gif;
    if (!gif) {
        info.error = gifErrorText(error);
        return info;
    }
    info.width = gif->SWidth;
    info.height = gif->SHeight;
    if (info.width <= 0 || info.height <= 0) {
        info.error = QStringLiteral("invalid size %1x%2").arg(info.width).arg(info.height);
        return info;
    }
    if (qint64(info.width) * info.height > limits.maxScreenPixels) {
        info.error = QStringLiteral("%1x%2 exceeds the picture size limit").arg(info.width).arg(info.height);
        return info;
    }
    if (const ColorMapObject *map = gif->SColorMap) {
        info.globalColours = map->ColorCount;
        info.backgroundIndex = gif->SBackGroundColor;
        if (info.backgroundIndex >= 0 && info.backgroundIndex < map->ColorCount) {
            const GifColorType c = map->Colors[info.backgroundIndex];
            info.backgroundRgb = (quint32(c.Red) << 16) | (quint32(c.Green) << 8) | c.Blue;
        }
    }
    qint64 totalPixels = 0;
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    do {
        if (DGifGetRecordType(gif, &record) == GIF_ERROR) {
            info.error = gifErrorText(gif->Error);
            return info;
        }
        if (record == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif) == GIF_ERROR) {
                info.error = gifErrorText(gif->Error);
                return info;
            }
            const GifImageDesc &frame = gif->Image;
            if (frame.Width <= 0 || frame.Height <= 0) {
                info.error = QStringLiteral("frame %1 has no pixels").arg(info.frames + 1);
                return info;
            }
            if (++info.frames > limits.maxFrames) {
                info.error = QStringLiteral("more than %1 frames").arg(limits.maxFrames);
                return info;
            }
            totalPixels += qint64(frame.Width) * frame.Height;
            if (totalPixels > limits.maxTotalFramePixels) {
                info.error = QStringLiteral("the frames exceed the picture size limit");
                return info;
            }
            if (!skipImageData(gif)) {
                info.error = gifErrorText(gif->Error);
                return info;
            }
        } else if (record == EXTENSION_RECORD_TYPE) {
            if (!skipExtension(gif)) {
                info.error = gifErrorText(gif->Error);
                return info;
            }
        }
    } while (record != TERMINATE_RECORD_TYPE);
    if (info.frames == 0) {
        info.error = QStringLiteral("the GIF holds no picture");
        return info;
    }
    info.ok = true;
    return info;
}
