#include "ui/TwoStateButton.h"

#include "platform/DataFiles.h"

#include <QPainter>

TwoStateButton::TwoStateButton(const QString &upFile, const QString &downFile, QWidget *parent)
    : QAbstractButton(parent), m_up(DataFiles::path(upFile)), m_down(DataFiles::path(downFile))
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    if (m_up.isNull())
        qWarning("Button picture %s is missing from %s", qPrintable(upFile), qPrintable(DataFiles::folder()));
}

QSize TwoStateButton::sizeHint() const
{
    return m_up.isNull() ? QSize(42, 37) : m_up.size();
}

void TwoStateButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const bool down = isDown() || isChecked();
    const QPixmap &picture = down && !m_down.isNull() ? m_down : m_up;
    if (!picture.isNull()) {
        painter.drawPixmap(rect(), picture);
    } else {
        painter.fillRect(rect(), palette().button());
        painter.setPen(down ? palette().dark().color() : palette().light().color());
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        painter.setPen(palette().buttonText().color());
        painter.drawText(rect().translated(down ? 1 : 0, down ? 1 : 0), Qt::AlignCenter, text());
    }
    if (hasFocus()) {
        painter.setPen(QPen(QColor(28, 64, 140), 1, Qt::DotLine));
        painter.drawRoundedRect(rect().adjusted(4, 4, -5, -5), 2, 2);
    }
}
