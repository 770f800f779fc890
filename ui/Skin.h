#pragma once

#include <QColor>
#include <QObject>
#include <QPixmap>
#include <QPoint>

#include <optional>

class QWidget;

// Dresses a top-level window in a skin picture from the data folder: frameless, sized to the
// picture, the key colour cut out of its outline, and dragged by the picture.
class Skin final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Skin)

public:
    // key: the colour cut out of the outline, or none. Returns the skin, owned by the window.
    static Skin *apply(QWidget *window, const QString &skinFile, std::optional<QColor> key);

    QPixmap pixmap() const { return m_pixmap; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Skin(QWidget *window, const QPixmap &pixmap);

    QWidget *m_window;
    QPixmap m_pixmap;
    QPoint m_dragOffset;
    bool m_dragging = false;
};
