// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/kit/TellUser.h"

#include "core/ListingPorts.h"

#include <QGuiApplication>
#include <QMessageBox>

void tellUser(MessagePort *messages, QWidget *window, const QString &text)
{
    if (messages)
        messages->showMessage(text);
    else
        QMessageBox::information(window, QGuiApplication::applicationDisplayName(), text);
}
