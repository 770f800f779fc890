// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/MediaKinds.h"

#include <QString>
#include <QStringList>

// What the pick list window needs of the main window: its current folder and working list, its
// folder tree, and the commands a loaded list runs there. The main window implements it; tests
// script it.
class PickListHost
{
public:
    virtual ~PickListHost() = default;
    virtual QString CurrentFolder() const = 0;   // a root ends with "/", no other folder does
    virtual QStringList FileListBox() const = 0; // the working list, bare names
    virtual void setFolderTreeEnabled(bool enabled) = 0;
    // Navigates the folder tree to folder and rebuilds the listing as for any change of folder.
    virtual void changeFolder(const QString &folder) = 0;
    // Selects the kind exactly as a press of that kind's button does.
    virtual void chooseKind(MediaKind kind) = 0;
    // The pick list window closed itself with its close mark: clear PickListOpen.
    virtual void pickListClosed() = 0;
};
