#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A push button drawn by two pictures from the data folder: raised, and pressed while held down.
// Falls back to a plain bevelled face with its text when a picture is missing.
class TwoStateButton final : public QAbstractButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TwoStateButton)

public:
    TwoStateButton(const QString &upFile, const QString &downFile, QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_up;
    QPixmap m_down;
};
