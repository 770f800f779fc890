#pragma once

#include <QWidget>

// The pick list's close mark: a bold "x", black with a white shadow at its lower right, white with
// a black shadow while the pointer is over it.
class PicklistHaltLabel final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PicklistHaltLabel)

public:
    explicit PicklistHaltLabel(QWidget *parent = nullptr);

    bool isHot() const { return m_hot; }
    QColor textColor() const;
    QColor shadowColor() const;
    QSize sizeHint() const override;

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void setHot(bool hot);

    bool m_hot = false;
};
