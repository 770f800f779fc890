// SPDX-License-Identifier: GPL-2.0-or-later
// The frame grabber's skin and its six button pictures.
#include "Artwork.h"
#include "Style.h"

#include <QPainter>
#include <QPainterPath>

namespace
{

QImage grabberSkin(int scale)
{
    QImage image = Style::windowSkin(QSize(561, 390), scale, QStringLiteral("AVI Frame Grabber"));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    // The column of commands at the left.
    Style::drawRaisedPanel(p, QRect(10, 52, 120, 256));
    Style::drawGroove(p, 20, 120, 128);
    Style::drawGroove(p, 20, 120, 170);
    Style::drawGroove(p, 20, 120, 242);
    // The screen: a sunken frame round the black display area.
    Style::drawPanel(p, QRect(180, 43, 333, 253), QColor(8, 8, 8));
    // The slider's trough.
    Style::drawPanel(p, QRect(181, 333, 331, 37), Style::Silver);
    Style::drawEngravedText(p, QRect(184, 300, 325, 30), Qt::AlignCenter,
                            QStringLiteral("Pause, then pick the frame with the slider"));
    p.end();
    return image;
}

QImage face(int scale, int width, int height, const QString &caption)
{
    return Style::pictureButton(QSize(width, height), scale, caption, false, Style::AccentLight);
}

// The power button: a round plate with the power sign.
QImage powerButton(int scale)
{
    QImage image = Style::canvas(QSize(42, 42), scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient plate(QPointF(17, 15), 26);
    plate.setColorAt(0, Style::AccentLight);
    plate.setColorAt(1, Style::Accent);
    p.setBrush(plate);
    p.setPen(QPen(Style::Edge, 1.5));
    p.drawEllipse(QRectF(1.5, 1.5, 39, 39));
    QPen sign(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap);
    p.setPen(sign);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(11, 11, 20, 20), 120 * 16, 300 * 16);
    p.drawLine(QPointF(21, 8), QPointF(21, 20));
    p.end();
    return image;
}

QImage openAviButton(int scale)
{
    return face(scale, 101, 26, QStringLiteral("Open AVI"));
}
QImage openMpgButton(int scale)
{
    return face(scale, 105, 26, QStringLiteral("Open MPG"));
}
QImage saveButton(int scale)
{
    return face(scale, 81, 24, QStringLiteral("Save"));
}
QImage pauseButton(int scale)
{
    return face(scale, 68, 21, QStringLiteral("Pause"));
}
QImage playButton(int scale)
{
    return face(scale, 50, 25, QStringLiteral("Play"));
}

} // namespace

TESSALOOM_SKIN("grabber_skin.png", grabberSkin, Style::Key);
TESSALOOM_PICTURE("grabber_openavi.png", openAviButton);
TESSALOOM_PICTURE("grabber_openmpg.png", openMpgButton);
TESSALOOM_PICTURE("grabber_save.png", saveButton);
TESSALOOM_PICTURE("grabber_pause.png", pauseButton);
TESSALOOM_PICTURE("grabber_play.png", playButton);
TESSALOOM_PICTURE("grabber_power.png", powerButton);
