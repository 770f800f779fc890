#pragma once

#include <QString>

// A picture's natural size as a browser shows it, read from its header only.
struct PictureSize {
    bool ok = false;
    int width = 0;
    int height = 0;
    QString error; // names the file when !ok
};

PictureSize measureJpeg(const QString &path); // EXIF orientations 5 to 8 give the displayed (swapped) size
PictureSize measureGif(const QString &path);  // the logical screen
