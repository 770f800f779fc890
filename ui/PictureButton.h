#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A button drawn by its picture from the data folder: lit while the pointer is over it, pressed in
// while held, pressed in and shaded while checked (a chosen one of several). Without a picture it draws
// nothing (a hot spot on its window's skin).
class PictureButton final : public QAbstractButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PictureButton)

public:
    explicit PictureButton(const QString &pictureFile, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QPixmap picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
    QPixmap m_lit;
};
