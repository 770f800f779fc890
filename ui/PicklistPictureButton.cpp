#include "ui/PicklistPictureButton.h"

#include "platform/DataFiles.h"

#include <QPainter>

PicklistPictureButton::PicklistPictureButton(const QString &pictureFile, const QString &fallbackText,
                                             QWidget *parent)
    : QAbstractButton(parent), m_picture(DataFiles::path(pictureFile))
{
    setText(fallbackText);
    setCursor(Qt::PointingHandCursor);
    if (m_picture.isNull())
        qWarning("Button picture %s is missing from %s", qPrintable(pictureFile), qPrintable(DataFiles::folder()));
}

void PicklistPictureButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPoint offset = isDown() ? QPoint(1, 1) : QPoint(0, 0);
    if (!m_picture.isNull()) {
        painter.drawPixmap(offset, m_picture.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        return;
    }
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawText(rect().translated(offset), Qt::AlignCenter, text());
}
