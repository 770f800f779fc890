// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

class QPushButton;
class QWidget;

// The dialogs' OK and Cancel buttons in the skins' colours. They are never a dialog's default
// button, so Enter only does what each dialog says it does.
QPushButton *makeDialogButton(const QString &objectName, const QString &text, QWidget *parent);

struct OkCancelButtons {
    QPushButton *ok;
    QPushButton *cancel;
};

// The OK and Cancel pair of the skinned dialogs, side by side about the dialog's middle, their tops
// at `top`.
OkCancelButtons makeOkCancelButtons(QWidget *dialog, int top);
