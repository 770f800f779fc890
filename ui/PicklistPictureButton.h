#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A button drawn by its picture from the data folder (its label is part of the picture); it sinks
// by one pixel while pressed.
class PicklistPictureButton final : public QAbstractButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PicklistPictureButton)

public:
    PicklistPictureButton(const QString &pictureFile, const QString &fallbackText, QWidget *parent = nullptr);

    QSize sizeHint() const override { return m_picture.isNull() ? QSize(60, 27) : m_picture.size(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
};
