// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QLineEdit>

// The counter field: takes digits, one sign at the very start and control keys, refusing any
// other key with a beep. On entering and leaving it rewrites its text in the ",0;(,0)" display
// format. Its value is always the plain counter text that a run can read back.
class NumberField final : public QLineEdit
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NumberField)

public:
    NumberField(const QString &objectName, QWidget *parent);

    QString value() const;               // plain text: "1,234" shown is "1234"
    void setValue(const QString &plain); // shown as it is until the next enter or leave

Q_SIGNALS:
    void valueEdited(const QString &plain); // by typing or by the display rewrite
    void keyRefused();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void rewriteForDisplay();
};
