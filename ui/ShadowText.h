#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QLabel>

// Text drawn over a one-pixel shadow, as the main window's count label and its "x" and "-" buttons
// show it.
namespace ShadowText
{

// down: pixels the text moves down (a pressed button).
void paint(QWidget *widget, const QString &text, Qt::Alignment alignment, const QColor &ink,
           const QColor &shadow, int down = 0);

} // namespace ShadowText

// A transparent label whose text has a shadow.
class ShadowTextLabel final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ShadowTextLabel)

public:
    ShadowTextLabel(const QColor &ink, const QColor &shadow, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_ink;
    QColor m_shadow;
};

// A caption-only button: black text with a white shadow, blue while the pointer is over it, dark
// blue and one pixel lower while pressed. The caption "-" is drawn as a minimise bar.
class TextButton final : public QAbstractButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TextButton)

public:
    explicit TextButton(const QString &caption, QWidget *parent = nullptr);

    bool isHot() const { return m_hot; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void setHot(bool hot);

    bool m_hot = false;
};
