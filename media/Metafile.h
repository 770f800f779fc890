#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Windows metafiles drawn into a picture at their own size (the frame or bounds they declare, in
// pixels, capped to the picture limits). A null image with error set when the file cannot be read.
QImage renderWmf(const QByteArray &file, QString *error);
QImage renderEmf(const QByteArray &file, QString *error);
