// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QImage>
#include <QWidget>

// The grabber's display area: black, showing the movie's frame at its own size from the top left
// corner (a larger picture is cut at the area's edges).
class MovieView final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MovieView)

public:
    explicit MovieView(QWidget *parent = nullptr);

    void showFrame(const QImage &frame);
    QImage frame() const { return m_frame; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_frame;
};
