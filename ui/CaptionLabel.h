#pragma once

#include <QLabel>

// The skinned forms' caption: bold, black with a white shadow to the lower right. A clickable
// caption reports clicks; a caption button also swaps its colours while the pointer is over it.
class CaptionLabel final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CaptionLabel)

public:
    enum Kind { Plain, Clickable, CaptionButton };

    CaptionLabel(const QString &objectName, const QString &text, Kind kind, QWidget *parent);

    bool isHighlighted() const { return m_highlighted; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // The captions' font, shared by every skinned form.
    static QFont captionFont(int pointSize = 8);

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    Kind m_kind;
    bool m_highlighted = false;
};
