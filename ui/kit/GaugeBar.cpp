// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/kit/GaugeBar.h"

#include "ui/kit/GaugePercent.h"

GaugeBar::GaugeBar(QWidget *parent) : QProgressBar(parent)
{
    setOrientation(Qt::Horizontal);
    setTextVisible(true);
    setAlignment(Qt::AlignCenter);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setFamilies(
        {QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(11);
    font.setBold(true);
    setFont(font);
    // The style sheet keeps the look the same on every platform style.
    setStyleSheet(
        QStringLiteral("QProgressBar { background: #c0c0c0; border: none; color: black; text-align: center; }"
                       "QProgressBar::chunk { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                       " stop:0 #9cc0f0, stop:0.5 #5484d2, stop:1 #3a68b8); }"));
}

QString GaugeBar::text() const
{
    return GaugePercent::text(value(), minimum(), maximum());
}
