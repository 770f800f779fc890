// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/PickListHost.h"

class TMainForm;

// The main window as the pick list window sees it.
class ScannerPickListHost final : public PickListHost
{
public:
    explicit ScannerPickListHost(TMainForm &form) : m_form(form) {}

    QString CurrentFolder() const override;
    QStringList FileListBox() const override;
    void setFolderTreeEnabled(bool enabled) override;
    void changeFolder(const QString &folder) override;
    void chooseKind(MediaKind kind) override;
    void pickListClosed() override;

private:
    TMainForm &m_form;
};
