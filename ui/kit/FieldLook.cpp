// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/kit/FieldLook.h"

#include <QColor>
#include <QPalette>
#include <QWidget>

void paintSilver(QWidget *field)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Active, QPalette::Base, QColor(192, 192, 192));
    palette.setColor(QPalette::Inactive, QPalette::Base, QColor(192, 192, 192));
    palette.setColor(QPalette::Disabled, QPalette::Base, QColor(208, 208, 208));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(128, 128, 128));
    field->setPalette(palette);
}
