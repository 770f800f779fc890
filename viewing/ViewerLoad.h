// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "media/GifInfo.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// One picture loaded for the viewer, whole or not at all: nothing of a file that fails is kept.
struct ViewerPicture {
    bool ok = false;
    QString error; // why it failed
    QImage image;  // the still picture (empty for a GIF, which the window animates from gifData)
    QByteArray gifData;
    GifInfo gif;
    int bitsPerPixel = 0; // a bitmap's depth from its own header
    QSize fullSize;       // the picture's own size, also when image holds it smaller
};

// Each reads the file once (regular files only, capped) and decodes within the picture limits.
ViewerPicture loadViewerGif(const QString &path);
// With fitInto given, a picture larger than it is decoded at the DCT scale that just covers it.
ViewerPicture loadViewerJpeg(const QString &path, const QSize &fitInto = QSize());
ViewerPicture loadViewerBmp(const QString &path);
// An icon, or a Windows metafile (".wmf" or ".emf") drawn at its own size; the extension decides.
ViewerPicture loadViewerWin(const QString &path);
