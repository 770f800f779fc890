#include "ui/ShadowText.h"

#include <QMouseEvent>
#include <QPainter>

namespace ShadowText
{

void paint(QWidget *widget, const QString &text, Qt::Alignment alignment, const QColor &ink,
           const QColor &shadow, int down)
{
    QPainter painter(widget);
    painter.setFont(widget->font());
    const QRect area = widget->rect().adjusted(0, 0, -1, -1).translated(0, down);
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
    // The buttons sit on the skin's white tabs: white ink would vanish there, so the pointer over a
    // button turns its ink blue (the skin's count colour), pressed it shifts down like the pictures.
    const QColor ink = isDown() ? QColor(0, 0, 128) : m_hot ? QColor(0, 0, 255) : QColor(Qt::black);
    const QColor shadow(Qt::white);
    if (text() != QLatin1String("-")) {
        ShadowText::paint(this, text(), Qt::AlignCenter, ink, shadow, isDown() ? 1 : 0);
        return;
    }
    // A minimise bar rather than a dash, low in the button as title bars draw it.
    QPainter painter(this);
    const int thickness = 3;
    QRect bar(1, height() / 2 + 2, width() - 2, thickness);
    if (isDown())
        bar.translate(0, 1);
    painter.fillRect(bar.translated(1, 1), shadow);
    painter.fillRect(bar, ink);
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
