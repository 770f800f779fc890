// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/MovieView.h"

#include <QPainter>

MovieView::MovieView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MovieView::showFrame(const QImage &frame)
{
    m_frame = frame;
    update();
}

void MovieView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_frame.isNull())
        painter.drawImage(QPoint(0, 0), m_frame);
}
