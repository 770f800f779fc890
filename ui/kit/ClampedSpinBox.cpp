// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/kit/ClampedSpinBox.h"

#include <algorithm>

namespace
{

constexpr int kMaxDigits = 6;

bool isDigits(const QString &text)
{
    return !text.isEmpty() && text.size() <= kMaxDigits &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

ClampedSpinBox::ClampedSpinBox(const QString &objectName, int minimum, int maximum, int step, QWidget *parent)
    : QSpinBox(parent)
{
    setObjectName(objectName);
    setRange(minimum, maximum);
    setSingleStep(step);
    setButtonSymbols(QAbstractSpinBox::PlusMinus);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setAlignment(Qt::AlignRight);
}

QValidator::State ClampedSpinBox::validate(QString &input, int &pos) const
{
    if (input.isEmpty())
        return QValidator::Intermediate;
    if (!isDigits(input))
        return QValidator::Invalid;
    const int value = input.toInt();
    if (value < minimum() || value > maximum())
        return QValidator::Intermediate; // becomes the nearest end on leaving
    return QSpinBox::validate(input, pos);
}

void ClampedSpinBox::fixup(QString &input) const
{
    input = QString::number(isDigits(input) ? std::clamp(input.toInt(), minimum(), maximum()) : value());
}
