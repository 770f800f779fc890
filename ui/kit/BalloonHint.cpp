// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/kit/BalloonHint.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace {

constexpr int kTextWidth = 150;
constexpr int kPadding = 8;
constexpr int kPointer = 12;
const QColor kBalloon(255, 255, 225);
const QColor kEdge(96, 96, 64);

QFont hintFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    font.setBold(true);
    return font;
}

} // namespace

BalloonHint::BalloonHint(QWidget *parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowTransparentForInput)
{
    setObjectName(QStringLiteral("BalloonHint"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    // A click meant for the control under a balloon reaches it: the balloon takes no mouse input.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFont(hintFont());
}

void BalloonHint::showText(const QPoint &globalTip, const QString &text, const QPoint &pointerAt)
{
    m_text = text;
    const QRect textRect = fontMetrics().boundingRect(QRect(0, 0, kTextWidth, 2000),
                                                      Qt::AlignHCenter | Qt::TextWordWrap, text);
    m_bubble = QRect(0, kPointer, kTextWidth + 2 * kPadding, textRect.height() + 2 * kPadding);
    resize(m_bubble.width() + 1, m_bubble.bottom() + 2);
    // The bubble's shape: rounded body plus a pointer at its top left.
    QPainterPath shape;
    shape.addRoundedRect(m_bubble, 8, 8);
    QPolygon pointer({QPoint(16, kPointer + 1), QPoint(16, 0), QPoint(32, kPointer + 1)});
    setMask(QRegion(shape.toFillPolygon().toPolygon()) | QRegion(pointer));
    QPoint topLeft = globalTip - QPoint(16, 0);
    // The mouse has moved on into where the balloon would be: it goes below the mouse's arrow.
    constexpr int kArrowHeight = 20;
    if (QRect(topLeft, size()).contains(pointerAt))
        topLeft.setY(pointerAt.y() + kArrowHeight);
    move(topLeft);
    show();
    raise();
    update();
}

void BalloonHint::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), kBalloon);
    QPainterPath outline;
    outline.addRoundedRect(QRectF(m_bubble).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    p.setPen(kEdge);
    p.drawPath(outline);
    p.drawLine(16, 0, 16, kPointer);
    p.drawLine(16, 0, 32, kPointer);
    p.setPen(Qt::black);
    p.drawText(m_bubble.adjusted(kPadding, kPadding, -kPadding, -kPadding), Qt::AlignHCenter | Qt::TextWordWrap,
               m_text);
}
