// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/BoxMessages.h"

#include <QApplication>
#include <QMessageBox>

void BoxMessages::showMessage(const QString &text)
{
    QMessageBox::information(m_owner, QApplication::applicationDisplayName(), text);
}

void BoxMessages::showFailure(QWidget *owner, const QString &text)
{
    QMessageBox::warning(owner, QApplication::applicationDisplayName(), text);
}
