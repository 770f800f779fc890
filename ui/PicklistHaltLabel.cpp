#include "ui/PicklistHaltLabel.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

const QString Mark = QStringLiteral("x");

} // namespace

PicklistHaltLabel::PicklistHaltLabel(QWidget *parent) : QWidget(parent)
{
    QFont mark(QStringLiteral("Arial"));
    mark.setBold(true);
    mark.setPixelSize(16);
    setFont(mark);
    setAttribute(Qt::WA_Hover);
    resize(sizeHint());
}

QColor PicklistHaltLabel::textColor() const { return m_hot ? QColor(Qt::white) : QColor(Qt::black); }

QColor PicklistHaltLabel::shadowColor() const { return m_hot ? QColor(Qt::black) : QColor(Qt::white); }

QSize PicklistHaltLabel::sizeHint() const
{
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(Mark) + 2, metrics.height() + 1);
}

void PicklistHaltLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect text = rect().adjusted(0, 0, -1, -1);
    painter.setPen(shadowColor());
    painter.drawText(text.translated(1, 1), Qt::AlignLeft | Qt::AlignTop, Mark);
    painter.setPen(textColor());
    painter.drawText(text, Qt::AlignLeft | Qt::AlignTop, Mark);
}

void PicklistHaltLabel::enterEvent(QEnterEvent *) { setHot(true); }

void PicklistHaltLabel::leaveEvent(QEvent *) { setHot(false); }

// Taken here, so a press on the mark does not start dragging the window.
void PicklistHaltLabel::mousePressEvent(QMouseEvent *event) { event->accept(); }

void PicklistHaltLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void PicklistHaltLabel::setHot(bool hot)
{
    if (m_hot == hot)
        return;
    m_hot = hot;
    update();
}
