#include "ui/PictureButton.h"

#include "platform/DataFiles.h"

#include <QPainter>

namespace
{

// The picture brightened where it is opaque, for the hover look.
QPixmap litCopy(const QPixmap &picture)
{
    if (picture.isNull())
        return {};
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.fillRect(image.rect(), QColor(255, 255, 255, 70));
    painter.end();
    return QPixmap::fromImage(image);
}

} // namespace

PictureButton::PictureButton(const QString &pictureFile, QWidget *parent) : QAbstractButton(parent)
{
    if (!pictureFile.isEmpty()) {
        m_picture = QPixmap(DataFiles::path(pictureFile));
        if (m_picture.isNull())
            qWarning("Button picture %s is missing", qPrintable(pictureFile));
        m_lit = litCopy(m_picture);
    }
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

QSize PictureButton::sizeHint() const
{
    return m_picture.isNull() ? QSize(36, 22) : m_picture.size();
}

void PictureButton::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const bool sunk = isDown() || isChecked();
    const QPixmap &shown = underMouse() && isEnabled() && !isDown() ? m_lit : m_picture;
    painter.drawPixmap(sunk ? rect().translated(1, 1) : rect(), shown);
    if (isChecked()) {
        // Chosen: pressed in, shaded, with a dark inner edge top-left and a light one bottom-right.
        const QRect inner = rect().adjusted(0, 0, -1, -1);
        painter.fillRect(inner, QColor(0, 0, 64, 60));
        painter.setPen(QPen(QColor(0, 0, 0, 200), 1));
        painter.drawLine(inner.topLeft(), inner.topRight());
        painter.drawLine(inner.topLeft(), inner.bottomLeft());
        painter.setPen(QPen(QColor(255, 255, 255, 220), 1));
        painter.drawLine(inner.bottomLeft(), inner.bottomRight());
        painter.drawLine(inner.topRight(), inner.bottomRight());
    }
}
