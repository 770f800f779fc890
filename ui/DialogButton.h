#pragma once

#include <QString>

class QPushButton;
class QWidget;

// The dialogs' OK and Cancel buttons in the skins' colours. They are never a dialog's default
// button, so Enter only does what each dialog says it does.
QPushButton *makeDialogButton(const QString &objectName, const QString &text, QWidget *parent);
