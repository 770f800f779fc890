#include "ui/ShadowLabel.h"

#include <QPainter>

ShadowLabel::ShadowLabel(QWidget *parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    setAttribute(Qt::WA_TranslucentBackground); // the skin shows through
}

WrappedText::Fit ShadowLabel::shownText() const
{
    return WrappedText::fit(text(), font(), contentsRect().size());
}

void ShadowLabel::paintEvent(QPaintEvent *)
{
    const WrappedText::Fit shown = shownText();
    const QString lines = shown.lines.join(u'\n');
    QPainter painter(this);
    painter.setFont(font());
    const QRect box = contentsRect();
    painter.setPen(Qt::white);
    painter.drawText(box.translated(1, 1), Qt::AlignCenter, lines);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignCenter, lines);
}
