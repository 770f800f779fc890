// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QColor>
#include <QToolButton>

class FormDialogs;

// A colour swatch that opens the colour dialog; it yields the colour in the 0x00BBGGRR form the
// options take.
class ColorChooser final : public QToolButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ColorChooser)

public:
    ColorChooser(const QString &objectName, const QColor &start, QWidget *parent);

    void setDialogs(FormDialogs *dialogs) { m_dialogs = dialogs; }
    QColor color() const { return m_color; }
    void setColor(const QColor &color);
    void setColorText(const QString &rrggbb); // shows a colour text of the options

    static quint32 colorRef(const QColor &color);

Q_SIGNALS:
    void colorChosen(quint32 colorRef);

private:
    void choose();

    QColor m_color;
    FormDialogs *m_dialogs = nullptr;
};
