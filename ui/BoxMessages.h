// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/ListingPorts.h"

class QWidget;

// Messages in a plain modal message box titled with the application's name. The main window uses
// it until the program's own message window is handed to it.
class BoxMessages final : public MessagePort
{
public:
    explicit BoxMessages(QWidget *owner) : m_owner(owner) {}
    void showMessage(const QString &text) override;

    // A command's failure: its text in a warning box titled with the application's name.
    static void showFailure(QWidget *owner, const QString &text);

private:
    QWidget *m_owner;
};
