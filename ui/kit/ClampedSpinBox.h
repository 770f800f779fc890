// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QSpinBox>

// A spin editor whose typed values outside its range are clamped to the nearest end when the
// user leaves it or presses Enter, instead of refusing the keys.
class ClampedSpinBox final : public QSpinBox
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClampedSpinBox)

public:
    ClampedSpinBox(const QString &objectName, int minimum, int maximum, int step, QWidget *parent);

protected:
    QValidator::State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;
};
