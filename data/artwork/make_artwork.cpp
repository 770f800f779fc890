// SPDX-License-Identifier: GPL-2.0-or-later
// Writes every registered data file into the folder given as the only argument.
#include "Artwork.h"
#include "Style.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>

#include <cstdio>
#include <map>
#include <string>

namespace
{

std::map<std::string, Artwork::Maker> &registry()
{
    static std::map<std::string, Artwork::Maker> makers;
    return makers;
}

} // namespace

bool Artwork::add(const char *fileName, Maker maker)
{
    registry()[fileName] = std::move(maker);
    return true;
}

bool Artwork::addPicture(const char *fileName, Painter painter, const QColor &key)
{
    add(fileName, [painter] { return Style::png(painter(1)); });
    const QString name = QString::fromLatin1(fileName);
    const QString sharpName = name.left(name.lastIndexOf(QLatin1Char('.'))) + QStringLiteral("@2x.png");
    return add(sharpName.toLatin1().constData(), [painter, key] {
        QImage sharp = painter(2);
        if (key.isValid())
            Style::keepOutline(sharp, painter(1).convertToFormat(QImage::Format_RGB32), key);
        return Style::png(sharp);
    });
}

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_artwork OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    for (const auto &[name, maker] : registry()) {
        const QByteArray bytes = maker();
        const QString path = out.filePath(QString::fromStdString(name));
        QDir().mkpath(QFileInfo(path).path()); // the icons sit in the theme's folder tree
        QFile old(path);
        if (old.open(QIODevice::ReadOnly) && old.readAll() == bytes)
            continue; // unchanged: keep the time stamp
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
            std::fprintf(stderr, "make_artwork: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
