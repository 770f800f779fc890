// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QWidget>

// The application's hint window: a yellow balloon with centred bold text, 150 pixels wide for the
// text, its pointer towards the control.
class BalloonHint final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BalloonHint)

public:
    explicit BalloonHint(QWidget *parent = nullptr);

    // Shows the text with the pointer's tip at globalTip; never over pointerAt, where the mouse is.
    void showText(const QPoint &globalTip, const QString &text, const QPoint &pointerAt);
    QString text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    QRect m_bubble;
};
