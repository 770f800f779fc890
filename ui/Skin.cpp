#include "ui/Skin.h"

#include "platform/DataFiles.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

Skin::Skin(QWidget *window, const QPixmap &pixmap) : QObject(window), m_window(window), m_pixmap(pixmap) {}

Skin *Skin::apply(QWidget *window, const QString &skinFile, std::optional<QColor> key)
{
    QPixmap pixmap(DataFiles::path(skinFile));
    if (pixmap.isNull()) {
        qWarning("Skin %s is missing from %s", qPrintable(skinFile), qPrintable(DataFiles::folder()));
        pixmap = QPixmap(window->size().isEmpty() ? QSize(200, 100) : window->size());
        pixmap.fill(QColor(192, 192, 192));
        key.reset();
    }
    auto *skin = new Skin(window, pixmap);
    window->setWindowFlags(window->windowFlags() | Qt::FramelessWindowHint);
    window->setFixedSize(pixmap.size());
    if (key)
        window->setMask(pixmap.createMaskFromColor(*key, Qt::MaskInColor));
    window->installEventFilter(skin);
    return skin;
}

bool Skin::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter painter(m_window);
        painter.drawPixmap(0, 0, m_pixmap);
        return false;
    }
    case QEvent::MouseButtonPress: {
        auto *press = static_cast<QMouseEvent *>(event);
        if (press->button() == Qt::LeftButton) {
            m_dragging = true;
            m_dragOffset = press->globalPosition().toPoint() - m_window->frameGeometry().topLeft();
        }
        return false;
    }
    case QEvent::MouseMove: {
        auto *move = static_cast<QMouseEvent *>(event);
        if (m_dragging && (move->buttons() & Qt::LeftButton))
            m_window->move(move->globalPosition().toPoint() - m_dragOffset);
        return false;
    }
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        return false;
    default:
        return false;
    }
}
