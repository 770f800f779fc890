// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "ui/kit/WrappedText.h"

#include <QColor>
#include <QLabel>

#include <optional>

// Text on a skin over a one-pixel shadow to its lower right: the skinned windows' labels, captions,
// prompts and caption-only buttons. A label only shows; a clickable one reports clicks and takes the
// press (the window is not dragged by it); a hot look is shown while the pointer is over it, a
// pressed look while it is held down.
class ShadowText final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ShadowText)

public:
    struct Look {
        QColor ink = Qt::black;
        QColor shadow = Qt::white;
        int drop = 0; // pixels the text moves down
    };
    // The captions of the skinned forms: plain, clickable, or a caption button that swaps its
    // colours while the pointer is over it.
    enum CaptionKind { Plain, Clickable, CaptionButton };

    explicit ShadowText(const QString &text = {}, QWidget *parent = nullptr);
    static ShadowText *caption(const QString &objectName, const QString &text, CaptionKind kind,
                               QWidget *parent);
    // The captions' font, shared by every skinned form.
    static QFont captionFont(int pointSize = 8);

    void setLook(const Look &look);
    void setHotLook(const Look &look);
    void setPressedLook(const Look &look);
    void setDisabledLook(const Look &look);
    void setClickable(bool clickable);
    // Wraps at word boundaries and cuts where the box ends (WrappedText); text() stays whole.
    void setFitted(bool fitted);
    // Room for the shadow added to the text's own size.
    void setShadowRoom(const QSize &room);

    bool isHot() const { return m_hot; }
    bool isDown() const { return m_down; }
    void setDown(bool down);
    QColor textColor() const { return currentLook().ink; }
    QColor shadowColor() const { return currentLook().shadow; }
    // What the text shows, line by line (fitted text only).
    WrappedText::Fit shownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Look currentLook() const;
    void setHot(bool hot);
    void paintMinimiseBar(QPainter &painter, const Look &look);

    Look m_look;
    std::optional<Look> m_hotLook;
    std::optional<Look> m_pressedLook;
    std::optional<Look> m_disabledLook;
    QSize m_shadowRoom;
    bool m_clickable = false;
    bool m_fitted = false;
    bool m_hot = false;
    bool m_down = false;
};
