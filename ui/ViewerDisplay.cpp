// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/ViewerDisplay.h"

#include <QPainter>

ViewerDisplay::ViewerDisplay(const QString &objectName, Clearing clearing, QWidget *parent)
    : QWidget(parent), m_clearing(clearing)
{
    setObjectName(objectName);
}

void ViewerDisplay::setImage(const QImage &image)
{
    m_image = image;
    rebuildShown();
    setMinimumSize(m_fitted ? QSize() : m_image.size());
    if (!m_centred && !m_fitted)
        resize(m_image.size());
    updateGeometry();
    update();
}

void ViewerDisplay::setTransparent(bool transparent)
{
    if (m_transparent == transparent)
        return;
    m_transparent = transparent;
    rebuildShown();
    update();
}

void ViewerDisplay::setOpaqueColour(const QColor &colour)
{
    m_opaqueColour = colour;
    rebuildShown();
    update();
}

void ViewerDisplay::setCentred(bool centred)
{
    m_centred = centred;
    if (!centred && !m_fitted)
        resize(m_image.size());
    update();
}

void ViewerDisplay::setFitted(bool fitted)
{
    m_fitted = fitted;
    setMinimumSize(m_fitted ? QSize() : m_image.size());
    if (!m_centred && !m_fitted)
        resize(m_image.size());
    updateGeometry();
    update();
}

QRect ViewerDisplay::pictureRect() const
{
    QSize size = m_image.size();
    if (m_fitted && (size.width() > width() || size.height() > height()))
        size = size.scaled(this->size(), Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    QRect rect(QPoint(0, 0), size);
    if (m_centred)
        rect.moveCenter(this->rect().center());
    if (m_centred && rect.left() < 0)
        rect.moveLeft(0);
    if (m_centred && rect.top() < 0)
        rect.moveTop(0);
    return rect;
}

QImage ViewerDisplay::shownImage() const
{
    return m_shown;
}

QSize ViewerDisplay::sizeHint() const
{
    return m_fitted ? QSize() : m_image.size();
}

void ViewerDisplay::paintEvent(QPaintEvent *)
{
    if (m_shown.isNull())
        return;
    QPainter painter(this);
    const QRect place = pictureRect();
    if (place.size() == m_shown.size()) {
        painter.drawImage(place.topLeft(), m_shown);
        return;
    }
    if (m_scaled.size() != place.size())
        m_scaled = m_shown.scaled(place.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    painter.drawImage(place.topLeft(), m_scaled);
}

void ViewerDisplay::rebuildShown()
{
    m_scaled = QImage();
    if (m_image.isNull()) {
        m_shown = QImage();
        return;
    }
    if (m_clearing == Clearing::Alpha) {
        if (m_transparent || !m_image.hasAlphaChannel()) {
            m_shown = m_image;
            return;
        }
        m_shown = QImage(m_image.size(), QImage::Format_RGB32);
        m_shown.fill(m_opaqueColour);
        QPainter painter(&m_shown);
        painter.drawImage(0, 0, m_image);
        return;
    }
    if (!m_transparent) {
        m_shown = m_image;
        return;
    }
    // The colour of the bottom-left pixel is the see-through one.
    m_shown = m_image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = m_shown.pixel(0, m_shown.height() - 1) | 0xFF000000u;
    for (int y = 0; y < m_shown.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(m_shown.scanLine(y));
        for (int x = 0; x < m_shown.width(); ++x) {
            if ((line[x] | 0xFF000000u) == key)
                line[x] = 0;
        }
    }
}
