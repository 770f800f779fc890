// SPDX-License-Identifier: GPL-2.0-or-later
#include "viewing/ViewerTexts.h"

#include "generator/PageBuilder.h"

#include <array>

namespace ViewerTexts
{

namespace
{

// At most 64 characters each, in page order 1 to 5.
constexpr std::array<const char *, 5> kPageExtensions{".gif", ".jpg", ".bmp", ".wmf.emf.ico",
                                                      ".avi.mid.wav.rmi.mpg.mov.qt.aiff.snd.au.mp2.mp3"};

} // namespace

QString extensionOf(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot).toLower();
}

int pageFor(const QString &extension)
{
    if (extension.isEmpty())
        return NilPage;
    for (size_t i = 0; i < kPageExtensions.size(); ++i) {
        if (QLatin1String(kPageExtensions[i]).contains(extension))
            return int(i) + 1;
    }
    return NilPage;
}

QString nameSizeText(const QString &name, qint64 bytes)
{
    const QString figure = FileSizeText(
        qMax<qint64>(0, bytes), {QStringLiteral(" Bytes"), QStringLiteral(" KB"), QStringLiteral(" MB")});
    return QLatin1Char(' ') + name.toUpper() + QStringLiteral("    Size - ") + figure;
}

QString soundPictureFor(const QString &extension)
{
    const QString upper = extension.toUpper();
    if (upper == QLatin1String(".MP3"))
        return QStringLiteral("mp3.jpg");
    if (upper == QLatin1String(".WAV"))
        return QStringLiteral("wav.jpg");
    if (upper == QLatin1String(".MID"))
        return QStringLiteral("midi.jpg");
    return QString();
}

QString widthText(int width)
{
    return QStringLiteral(" Width - ") + QString::number(width);
}

QString heightText(int height)
{
    return QStringLiteral(" Height - ") + QString::number(height);
}

QString gifColoursText(int colours, int frames)
{
    return QStringLiteral(" %1 Colors   %2 Frame(s)").arg(colours).arg(frames);
}

QString bitmapColoursText(qint64 colours)
{
    return colours > 0 ? QStringLiteral(" %1 Colors").arg(colours) : QStringLiteral(" Colors - ");
}

} // namespace ViewerTexts
