// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "ui/kit/ScaledPicture.h"

#include <QAbstractButton>
#include <QPixmap>

// The skinned windows' button, drawn by its picture from the data folder: lit while the pointer is
// over it, pressed in while held (or showing its pressed picture, where it has one), pressed in and
// shaded while checked (a chosen one of several), plain while disabled, with a dotted ring while it
// has the keyboard focus. Without a picture file it draws nothing (a hot spot on its window's skin);
// with its picture missing it draws a plain bevelled face with its text.
class PictureButton final : public QAbstractButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PictureButton)

public:
    explicit PictureButton(const QString &pictureFile, QWidget *parent = nullptr);
    // A button at its place on the window's skin, named, captioned and hinted; the caption is part
    // of the picture, the text names it.
    static PictureButton *place(QWidget *window, const QString &objectName, const QString &pictureFile,
                                const QString &text, const QRect &where, const QString &hint);

    // The picture shown while the button is held down or checked, instead of the picture moved in.
    void setPressedPicture(const QString &pictureFile);

    QSize sizeHint() const override;
    QPixmap picture() const { return m_picture.normal; }
    // The picture drawn at twice the pixels for HiDPI screens, or null where there is none.
    QPixmap sharpPicture() const { return m_picture.sharp; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintFace(QPainter &painter, bool sunk);
    void paintChecked(QPainter &painter);
    void paintFocusRing(QPainter &painter);

    QString m_pictureFile;
    ScaledPicture m_picture;
    ScaledPicture m_lit;
    ScaledPicture m_pressed;
};
