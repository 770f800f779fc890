// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

// One picture display of the viewer: the picture at its own size at the top left, or, centred,
// filling its page with the picture in the middle; fitted, scaled down to its page when larger. Transparent,
// a GIF's clear pixels show the window behind it and a JPEG's pixels of its bottom-left colour do too;
// opaque, the picture covers its rectangle (a GIF's clear pixels in its background colour).
class ViewerDisplay final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ViewerDisplay)

public:
    enum class Clearing { Alpha, BottomLeftColour };

    ViewerDisplay(const QString &objectName, Clearing clearing, QWidget *parent = nullptr);

    void setImage(const QImage &image); // a null image empties the display
    const QImage &image() const { return m_image; }
    void setTransparent(bool transparent);
    bool isTransparent() const { return m_transparent; }
    void setOpaqueColour(const QColor &colour); // what clear pixels show when opaque
    void setCentred(bool centred);
    bool isCentred() const { return m_centred; }
    // Fitted, the display fills its page and a picture larger than the page is drawn smoothly scaled
    // down to fit it, keeping its proportions; a smaller one keeps its own size.
    void setFitted(bool fitted);
    bool isFitted() const { return m_fitted; }

    // Where the picture is drawn, in the display's coordinates.
    QRect pictureRect() const;
    // The picture as it is drawn, with the clearing applied (for tests and screenshots).
    QImage shownImage() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void rebuildShown();

    Clearing m_clearing;
    QImage m_image;
    QImage m_shown;
    mutable QImage m_scaled; // m_shown scaled to the fitted size, made at the first paint of that size
    QColor m_opaqueColour = Qt::white;
    bool m_transparent = false;
    bool m_centred = false;
    bool m_fitted = false;
};
