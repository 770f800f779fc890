#pragma once

#include "ui/WrappedText.h"

#include <QLabel>

// A label for text on a skin: black with a white shadow one pixel down and right, centred both
// ways, wrapped at word boundaries and cut where its box ends. text() stays the whole text.
class ShadowLabel final : public QLabel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ShadowLabel)

public:
    explicit ShadowLabel(QWidget *parent = nullptr);

    // What the label shows, line by line.
    WrappedText::Fit shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};
