// SPDX-License-Identifier: GPL-2.0-or-later
// The frame grabber's skin and its six button pictures.
#include "Artwork.h"
#include "Style.h"

#include <QPainter>
#include <QPainterPath>

namespace
{

QByteArray grabberSkin()
{
    QImage image = Style::windowSkin(561, 390, QStringLiteral("AVI Frame Grabber"));
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
    return Style::png(image);
}

QImage face(int width, int height, const QString &caption)
{
    return Style::pictureButton(QSize(width, height), caption, false, Style::AccentLight);
}

// The power button: a round plate with the power sign.
QByteArray powerButton()
{
    QImage image(42, 42, QImage::Format_ARGB32_Premultiplied);
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
    return Style::png(image);
}

QByteArray openAviButton()
{
    return Style::png(face(101, 26, QStringLiteral("Open AVI")));
}
QByteArray openMpgButton()
{
    return Style::png(face(105, 26, QStringLiteral("Open MPG")));
}
QByteArray saveButton()
{
    return Style::png(face(81, 24, QStringLiteral("Save")));
}
QByteArray pauseButton()
{
    return Style::png(face(68, 21, QStringLiteral("Pause")));
}
QByteArray playButton()
{
    return Style::png(face(50, 25, QStringLiteral("Play")));
}

} // namespace

TESSALOOM_ARTWORK("grabber_skin.png", grabberSkin);
TESSALOOM_ARTWORK("grabber_openavi.png", openAviButton);
TESSALOOM_ARTWORK("grabber_openmpg.png", openMpgButton);
TESSALOOM_ARTWORK("grabber_save.png", saveButton);
TESSALOOM_ARTWORK("grabber_pause.png", pauseButton);
TESSALOOM_ARTWORK("grabber_play.png", playButton);
TESSALOOM_ARTWORK("grabber_power.png", powerButton);
