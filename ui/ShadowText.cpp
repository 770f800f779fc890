#include "ui/ShadowText.h"

#include <QMouseEvent>
#include <QPainter>

namespace ShadowText
{

void paint(QWidget *widget, const QString &text, Qt::Alignment alignment, const QColor &ink,
           const QColor &shadow)
{
    QPainter painter(widget);
    painter.setFont(widget->font());
    const QRect area = widget->rect().adjusted(0, 0, -1, -1);
    painter.setPen(shadow);
    painter.drawText(area.translated(1, 1), int(alignment), text);
    painter.setPen(ink);
    painter.drawText(area, int(alignment), text);
}

} // namespace ShadowText

ShadowTextLabel::ShadowTextLabel(const QColor &ink, const QColor &shadow, QWidget *parent)
    : QLabel(parent), m_ink(ink), m_shadow(shadow)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void ShadowTextLabel::paintEvent(QPaintEvent *)
{
    ShadowText::paint(this, text(), alignment(), m_ink, m_shadow);
}

TextButton::TextButton(const QString &caption, QWidget *parent) : QAbstractButton(parent)
{
    setText(caption);
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void TextButton::paintEvent(QPaintEvent *)
{
    const QColor white(Qt::white), black(Qt::black);
    ShadowText::paint(this, text(), Qt::AlignCenter, m_hot ? white : black, m_hot ? black : white);
}

void TextButton::mouseMoveEvent(QMouseEvent *event)
{
    setHot(rect().contains(event->position().toPoint()));
    QAbstractButton::mouseMoveEvent(event);
}

void TextButton::leaveEvent(QEvent *event)
{
    setHot(false);
    QAbstractButton::leaveEvent(event);
}

void TextButton::setHot(bool hot)
{
    if (m_hot == hot)
        return;
    m_hot = hot;
    update();
}
