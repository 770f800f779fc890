// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/ColorChooser.h"

#include "ui/kit/FormDialogs.h"

ColorChooser::ColorChooser(const QString &objectName, const QColor &start, QWidget *parent)
    : QToolButton(parent), m_dialogs(&QtFormDialogs::instance())
{
    setObjectName(objectName);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setColor(start);
    connect(this, &QToolButton::clicked, this, &ColorChooser::choose);
}

quint32 ColorChooser::colorRef(const QColor &color)
{
    return quint32(color.red()) | quint32(color.green()) << 8 | quint32(color.blue()) << 16;
}

void ColorChooser::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    setStyleSheet(QStringLiteral("QToolButton { background: %1; border: 2px inset #787e8c; }"
                                 "QToolButton:focus { border: 2px solid #1c408c; }")
                      .arg(color.name()));
}

void ColorChooser::setColorText(const QString &rrggbb)
{
    const QColor color(QLatin1Char('#') + rrggbb);
    if (color.isValid())
        setColor(color);
}

void ColorChooser::choose()
{
    if (const std::optional<QColor> chosen = m_dialogs->askColor(window(), m_color))
        Q_EMIT colorChosen(colorRef(*chosen));
}
