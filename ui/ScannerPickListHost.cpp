// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/ScannerPickListHost.h"

#include "core/MediaListing.h"
#include "ui/FolderTreeView.h"
#include "ui/Scanner.h"
#include "ui/ScannerControls.h"

QString ScannerPickListHost::CurrentFolder() const { return m_form.CurrentFolder(); }

QStringList ScannerPickListHost::FileListBox() const { return m_form.listing().FileListBox(); }

void ScannerPickListHost::setFolderTreeEnabled(bool enabled)
{
    m_form.controls().DirectoryListBox->setEnabled(enabled);
}

void ScannerPickListHost::changeFolder(const QString &folder) { m_form.selectFolder(folder); }

void ScannerPickListHost::chooseKind(MediaKind kind) { m_form.chooseKind(kind); }

void ScannerPickListHost::pickListClosed() { m_form.state().PickListOpen = false; }
