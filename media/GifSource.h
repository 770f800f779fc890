// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

struct GifFileType;

// giflib reading from bytes in memory: the reader keeps its place in them between calls.
struct GifSource {
    QByteArrayView data;
    qsizetype at = 0;
};

// Opens giflib over the source, which must outlive the handle; null with *error set on failure.
GifFileType *openGifSource(GifSource *source, int *error);
QString gifErrorText(int code);
