// SPDX-License-Identifier: GPL-2.0-or-later
#include "generator/FolderRows.h"

#include "core/FolderListing.h"
#include "core/MediaKinds.h"

void FolderRows::reread()
{
    m_names = listFolder(m_folder, m_masks).names;
    if (m_selected >= m_names.size())
        m_selected = -1;
}

void FolderRows::setMaskString(const QString &masks)
{
    if (masks == m_masks)
        return;
    m_masks = masks;
    reread();
}

QString FolderRows::rowPath(int row) const
{
    return JoinFolderFile(m_folder, m_names.at(row));
}
