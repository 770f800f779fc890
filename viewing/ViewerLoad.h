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
};

// Each reads the file once (regular files only, capped) and decodes within the picture limits.
ViewerPicture loadViewerGif(const QString &path);
ViewerPicture loadViewerJpeg(const QString &path);
ViewerPicture loadViewerBmp(const QString &path);
// An icon, or a Windows metafile (".wmf" or ".emf") drawn at its own size; the extension decides.
ViewerPicture loadViewerWin(const QString &path);
