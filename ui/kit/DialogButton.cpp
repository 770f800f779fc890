// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/kit/DialogButton.h"

#include "ui/kit/ShadowText.h"

#include <QPushButton>

QPushButton *makeDialogButton(const QString &objectName, const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setFont(ShadowText::captionFont(9));
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(QStringLiteral(
        "QPushButton { color: white; border: 2px outset #5484d2; border-radius: 6px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #5484d2, stop:1 #1c408c); }"
        "QPushButton:pressed { border-style: inset; background: #1c408c; }"
        "QPushButton:focus { border-color: #ffffff; }"));
    return button;
}

OkCancelButtons makeOkCancelButtons(QWidget *dialog, int top)
{
    QPushButton *ok = makeDialogButton(QStringLiteral("OKButton"), QObject::tr("OK"), dialog);
    QPushButton *cancel = makeDialogButton(QStringLiteral("CancelButton"), QObject::tr("Cancel"), dialog);
    ok->setGeometry(dialog->width() / 2 - 106, top, 96, 28);
    cancel->setGeometry(dialog->width() / 2 + 10, top, 96, 28);
    return {ok, cancel};
}
