// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/kit/PictureButton.h"

#include "platform/DataFiles.h"
#include "ui/kit/HelpHints.h"

#include <QPainter>

namespace
{

ScaledPicture loadPicture(const QString &pictureFile)
{
    ScaledPicture picture = ScaledPicture::load(pictureFile);
    if (picture.isNull())
        qWarning("Button picture %s is missing from %s", qPrintable(pictureFile),
                 qPrintable(DataFiles::folder()));
    return picture;
}

// The picture brightened where it is opaque, for the hover look.
QPixmap litCopy(const QPixmap &picture)
{
    if (picture.isNull())
        return {};
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    painter.fillRect(QRect(QPoint(), image.deviceIndependentSize().toSize()), QColor(255, 255, 255, 70));
    painter.end();
    return QPixmap::fromImage(image);
}

ScaledPicture litCopy(const ScaledPicture &picture)
{
    return {litCopy(picture.normal), litCopy(picture.sharp)};
}

} // namespace

PictureButton::PictureButton(const QString &pictureFile, QWidget *parent)
    : QAbstractButton(parent), m_pictureFile(pictureFile)
{
    if (!pictureFile.isEmpty()) {
        m_picture = loadPicture(pictureFile);
        m_lit = litCopy(m_picture);
    }
    setAttribute(Qt::WA_Hover);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

PictureButton *PictureButton::place(QWidget *window, const QString &objectName, const QString &pictureFile,
                                    const QString &text, const QRect &where, const QString &hint)
{
    auto *button = new PictureButton(pictureFile, window);
    button->setText(text);
    button->setObjectName(objectName);
    button->setGeometry(where);
    if (!hint.isEmpty())
        HelpHints::setHint(button, hint);
    return button;
}

void PictureButton::setPressedPicture(const QString &pictureFile)
{
    m_pressed = loadPicture(pictureFile);
    update();
}

QSize PictureButton::sizeHint() const
{
    return m_picture.isNull() ? QSize(42, 37) : m_picture.normal.size();
}

void PictureButton::paintEvent(QPaintEvent *)
{
    if (m_pictureFile.isEmpty())
        return; // a hot spot: the skin shows it
    QPainter painter(this);
    paintFace(painter, isDown() || isChecked());
    if (isChecked() && m_pressed.isNull())
        paintChecked(painter);
    if (hasFocus())
        paintFocusRing(painter);
}

void PictureButton::paintFace(QPainter &painter, bool sunk)
{
    if (m_picture.isNull()) {
        // The picture is missing: a plain face still shows the button and what it does.
        painter.fillRect(rect(), palette().button());
        painter.setPen(sunk ? palette().dark().color() : palette().light().color());
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        painter.setPen(palette().buttonText().color());
        painter.drawText(rect().translated(sunk ? 1 : 0, sunk ? 1 : 0), Qt::AlignCenter, text());
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (sunk && !m_pressed.isNull()) {
        painter.drawPixmap(rect(), m_pressed.forDevice(this));
        return;
    }
    const ScaledPicture &shown = underMouse() && isEnabled() && !isDown() ? m_lit : m_picture;
    painter.drawPixmap(sunk ? rect().translated(1, 1) : rect(), shown.forDevice(this));
}

// Chosen: pressed in, shaded, with a dark inner edge top-left and a light one bottom-right.
void PictureButton::paintChecked(QPainter &painter)
{
    const QRect inner = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(inner, QColor(0, 0, 64, 60));
    painter.setPen(QPen(QColor(0, 0, 0, 200), 1));
    painter.drawLine(inner.topLeft(), inner.topRight());
    painter.drawLine(inner.topLeft(), inner.bottomLeft());
    painter.setPen(QPen(QColor(255, 255, 255, 220), 1));
    painter.drawLine(inner.bottomLeft(), inner.bottomRight());
    painter.drawLine(inner.topRight(), inner.bottomRight());
}

void PictureButton::paintFocusRing(QPainter &painter)
{
    painter.setPen(QPen(QColor(28, 64, 140), 1, Qt::DotLine));
    painter.drawRoundedRect(rect().adjusted(4, 4, -5, -5), 2, 2);
}
