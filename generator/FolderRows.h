// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/ListingPorts.h"

#include <QStringList>

// The main window's file list without a window: the files of a folder that the mask string
// selects, in the listing's order. For the command-line maker and for tests.
class FolderRows final : public FileListRows
{
public:
    explicit FolderRows(const QString &folder) : m_folder(folder) {}

    // Reads the folder again, as the view does when its folder changes.
    void reread();
    void select(int row) { m_selected = row; }

    void setMaskString(const QString &masks) override;
    int rowCount() const override { return int(m_names.size()); }
    QString rowPath(int row) const override;
    int selectedRow() const override { return m_selected; }
    bool rowIsFile(int) const override { return true; }

private:
    QString m_folder;
    QString m_masks;
    QStringList m_names;
    int m_selected = -1;
};
