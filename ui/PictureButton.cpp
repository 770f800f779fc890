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
    const QPixmap &shown = underMouse() && isEnabled() && !isDown() ? m_lit : m_picture;
    painter.drawPixmap(isDown() ? rect().translated(1, 1) : rect(), shown);
}
