// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

class QWidget;

// The save and open choosers of the pick list window; tests put their own in place.
class PicklistChoosers
{
public:
    virtual ~PicklistChoosers() = default;
    // The chosen path, or empty when the user cancelled.
    virtual QString askSaveName(QWidget *parent) = 0;
    virtual QString askOpenName(QWidget *parent) = 0;
};

// The real choosers: Qt's own file dialogs (never the desktop's native ones, which cannot be
// scripted), filtered to ".mpf" files, adding ".mpf" to a name typed without an extension. The
// save chooser does not ask about replacing a file: the window asks through its own dialog.
class FileDialogPicklistChoosers final : public PicklistChoosers
{
public:
    QString askSaveName(QWidget *parent) override;
    QString askOpenName(QWidget *parent) override;
};
