// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QColor>
#include <QObject>
#include <QPalette>
#include <QPixmap>
#include <QPoint>

#include <optional>

class QWidget;

// Dresses a top-level window in a skin picture from the data folder: frameless, sized to the
// picture, the key colour cut out of its outline, dragged by the picture, and drawn in the program's
// own palette, so no desktop theme (a dark one above all) recolours its fields over our silver.
class Skin final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Skin)

public:
    // key: the colour cut out of the outline, or none. Returns the skin, owned by the window.
    static Skin *apply(QWidget *window, const QString &skinFile, std::optional<QColor> key);

    // The one palette of every skinned window and its controls: black text on light fields, blue
    // highlight, grey when disabled. Dialogs of the desktop (colours, files) keep the desktop's own.
    static QPalette palette();

    // The skin a window was dressed in, or none.
    static Skin *of(QWidget *window);

    // Makes guest, a skinned window, a part of this window: shown beside the skin on its right,
    // top edges level, the two dragged as one. This window is made wide enough to hold it for good;
    // while the guest is closed its place is see-through and takes no clicks. For window systems
    // that do not let a program place its windows (Wayland): one window holding both is the only
    // way to keep the guest off this one.
    void holdBeside(QWidget *guest);

    QPixmap pixmap() const { return m_pixmap; }
    // The same drawn at twice the pixels for HiDPI screens (device pixel ratio 2), grown with it; null
    // where the data folder has no @2x copy. The outline is always pixmap()'s.
    QPixmap sharpPixmap() const { return m_sharp; }
    QSize pictureSize() const { return m_original.size(); }
    std::optional<QColor> key() const { return m_key; }

    // Makes the window this tall (never less than its picture): the picture's row stretchRow is
    // repeated down to the new height, everything above and below it kept whole, and the outline cut
    // anew. The row is one that only crosses plain body and wells, so the taller window looks like the
    // short one.
    void setHeight(int height, int stretchRow);

    // Whether skins are cut out by a translucent window rather than by the window's shape: on
    // Wayland, where the shape only sets the input region.
    static bool cutsOutByTransparency();

Q_SIGNALS:
    void systemMoveStarted(); // a drag by the body handed to the window system

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Skin(QWidget *window, const QPixmap &pixmap, const QPixmap &sharp, std::optional<QColor> key);
    void fitWindow();
    void drag(const QPoint &globalPosition);

    QWidget *m_window;
    QPixmap m_original;
    QPixmap m_pixmap;
    QPixmap m_sharpOriginal;
    QPixmap m_sharp;
    // What is drawn: the picture itself, or on a translucent window the picture with its key colour
    // made fully transparent (Wayland draws what the window paints; the mask only takes the input).
    QPixmap m_shown;
    QPixmap m_shownSharp;
    std::optional<QColor> m_key;
    bool m_translucent = false;
    QPoint m_dragOffset;
    bool m_dragging = false;
    bool m_systemMoveTried = false;
    QWidget *m_guest = nullptr;
    bool m_guestShown = false;
};
