// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>

#include <functional>

class QLabel;

// The look and answer of both overwrite dialogs: a message, OK and Cancel. OK runs the caller's
// write; a failed write keeps the dialog open showing why, so the user can cancel or try again.
class OverwriteDialog : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OverwriteDialog)

public:
    // Returns an empty text when the file was written, otherwise the reason.
    using Write = std::function<QString()>;

    QString message() const { return m_message; }
    QString errorText() const;

public Q_SLOTS:
    void OKButtonClick();
    void CancelButtonClick();

protected:
    OverwriteDialog(const QString &objectName, QWidget *parent);
    // Shows text modally; true when OK was pressed and the write (if any) succeeded.
    bool run(const QString &text, Write write);

private:
    QString m_message;
    QLabel *m_overLabel;
    QLabel *m_errorLabel;
    Write m_write;
};
