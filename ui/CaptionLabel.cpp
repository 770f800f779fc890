#include "ui/CaptionLabel.h"

#include <QMouseEvent>
#include <QPainter>

CaptionLabel::CaptionLabel(const QString &objectName, const QString &text, Kind kind, QWidget *parent)
    : QLabel(text, parent), m_kind(kind)
{
    setObjectName(objectName);
    setFont(captionFont(kind == CaptionButton ? 11 : 8));
    setFocusPolicy(Qt::NoFocus);
    if (kind != Plain)
        setCursor(Qt::PointingHandCursor);
    if (kind == CaptionButton)
        setAlignment(Qt::AlignCenter);
}

QFont CaptionLabel::captionFont(int pointSize)
{
    // MS Sans Serif where it is installed; Liberation Sans has its narrow metrics elsewhere.
    QFont font;
    font.setFamilies(
        {QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(pointSize);
    font.setBold(true);
    return font;
}

QSize CaptionLabel::sizeHint() const
{
    return QLabel::sizeHint() + QSize(2, 2); // room for the shadow
}

void CaptionLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setFont(font());
    const QColor ink = m_highlighted ? Qt::white : Qt::black;
    const QColor shadow = m_highlighted ? Qt::black : Qt::white;
    const QRect area = contentsRect().adjusted(0, 0, -1, -1);
    const int flags = int(alignment()) | (wordWrap() ? int(Qt::TextWordWrap) : 0);
    p.setPen(isEnabled() ? shadow : QColor(Qt::gray));
    p.drawText(area.translated(1, 1), flags, text());
    p.setPen(isEnabled() ? ink : QColor(Qt::darkGray));
    p.drawText(area, flags, text());
}

void CaptionLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_kind != Plain && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint())) {
        Q_EMIT clicked();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void CaptionLabel::enterEvent(QEnterEvent *event)
{
    if (m_kind == CaptionButton) {
        m_highlighted = true;
        update();
    }
    QLabel::enterEvent(event);
}

void CaptionLabel::leaveEvent(QEvent *event)
{
    if (m_kind == CaptionButton) {
        m_highlighted = false;
        update();
    }
    QLabel::leaveEvent(event);
}
