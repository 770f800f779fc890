// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/kit/ShadowText.h"

#include <QMouseEvent>
#include <QPainter>

ShadowText::ShadowText(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setAttribute(Qt::WA_TranslucentBackground); // the skin shows through
    setFocusPolicy(Qt::NoFocus);
}

ShadowText *ShadowText::caption(const QString &objectName, const QString &text, CaptionKind kind,
                                QWidget *parent)
{
    auto *caption = new ShadowText(text, parent);
    caption->setObjectName(objectName);
    caption->setFont(captionFont(kind == CaptionButton ? 11 : 8));
    caption->setShadowRoom(QSize(2, 2));
    caption->setDisabledLook({QColor(Qt::darkGray), QColor(Qt::gray)});
    caption->setClickable(kind != Plain);
    if (kind == CaptionButton) {
        caption->setAlignment(Qt::AlignCenter);
        caption->setHotLook({QColor(Qt::white), QColor(Qt::black)});
    }
    return caption;
}

QFont ShadowText::captionFont(int pointSize)
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

void ShadowText::setLook(const Look &look)
{
    m_look = look;
    update();
}

void ShadowText::setHotLook(const Look &look)
{
    m_hotLook = look;
    setMouseTracking(true);
    update();
}

void ShadowText::setPressedLook(const Look &look)
{
    m_pressedLook = look;
    update();
}

void ShadowText::setDisabledLook(const Look &look)
{
    m_disabledLook = look;
    update();
}

void ShadowText::setClickable(bool clickable)
{
    m_clickable = clickable;
    if (clickable)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void ShadowText::setFitted(bool fitted)
{
    m_fitted = fitted;
    if (fitted) {
        setAlignment(Qt::AlignCenter);
        setWordWrap(true);
    }
    update();
}

void ShadowText::setShadowRoom(const QSize &room)
{
    m_shadowRoom = room;
    updateGeometry();
}

void ShadowText::setDown(bool down)
{
    if (m_down == down)
        return;
    m_down = down;
    update();
}

WrappedText::Fit ShadowText::shownText() const
{
    return WrappedText::fit(text(), font(), contentsRect().size());
}

QSize ShadowText::sizeHint() const
{
    return QLabel::sizeHint() + m_shadowRoom;
}

ShadowText::Look ShadowText::currentLook() const
{
    if (!isEnabled() && m_disabledLook)
        return *m_disabledLook;
    if (m_down && m_pressedLook)
        return *m_pressedLook;
    if (m_hot && m_hotLook)
        return *m_hotLook;
    return m_look;
}

void ShadowText::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const Look look = currentLook();
    if (m_clickable && text() == QLatin1String("-")) {
        paintMinimiseBar(painter, look);
        return;
    }
    // Fitted text fills its whole box; other text keeps a pixel at the right and bottom for the shadow.
    const QString shown = m_fitted ? shownText().lines.join(u'\n') : text();
    const QRect area =
        (m_fitted ? contentsRect() : contentsRect().adjusted(0, 0, -1, -1)).translated(0, look.drop);
    const int flags = int(alignment()) | (wordWrap() && !m_fitted ? int(Qt::TextWordWrap) : 0);
    painter.setPen(look.shadow);
    painter.drawText(area.translated(1, 1), flags, shown);
    painter.setPen(look.ink);
    painter.drawText(area, flags, shown);
}

// A minimise bar rather than a dash, low in the button as title bars draw it.
void ShadowText::paintMinimiseBar(QPainter &painter, const Look &look)
{
    const int thickness = 3;
    const QRect bar = QRect(1, height() / 2 + 2, width() - 2, thickness).translated(0, look.drop);
    painter.fillRect(bar.translated(1, 1), look.shadow);
    painter.fillRect(bar, look.ink);
}

void ShadowText::enterEvent(QEnterEvent *event)
{
    setHot(true);
    QLabel::enterEvent(event);
}

void ShadowText::leaveEvent(QEvent *event)
{
    setHot(false);
    QLabel::leaveEvent(event);
}

void ShadowText::mouseMoveEvent(QMouseEvent *event)
{
    setHot(rect().contains(event->position().toPoint()));
    QLabel::mouseMoveEvent(event);
}

// Taken here, so a press on clickable text does not start dragging the window.
void ShadowText::mousePressEvent(QMouseEvent *event)
{
    if (!m_clickable || event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    setDown(true);
    event->accept();
}

void ShadowText::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_clickable || event->button() != Qt::LeftButton) {
        QLabel::mouseReleaseEvent(event);
        return;
    }
    setDown(false);
    event->accept();
    if (rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void ShadowText::setHot(bool hot)
{
    hot = hot && m_hotLook;
    if (m_hot == hot)
        return;
    m_hot = hot;
    update();
}
