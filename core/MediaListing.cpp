// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/MediaListing.h"

#include "core/FolderListing.h"
#include "core/PageOptions.h"

#include <QDir>

namespace
{

bool isMovieName(const QString &name)
{
    const QString tail = name.right(3).toUpper();
    return tail == QLatin1String("AVI") || tail == QLatin1String("MPG");
}

} // namespace

MediaListing::MediaListing(FileListRows &rows, PageOptions &options, MainState &state, QObject *parent)
    : QObject(parent), m_rows(rows), m_options(options), m_state(state), m_usedPickList(options.UsePickList())
{
    connect(&m_options, &PageOptions::changed, this, &MediaListing::followPickListChoice);
}

// A run from the pick list leaves its names as the working list; once the person turns the pick
// list off, the folder's own list is back at once, in the caption and for the next page.
void MediaListing::followPickListChoice()
{
    const bool used = m_options.UsePickList();
    if (used == m_usedPickList)
        return;
    m_usedPickList = used;
    if (used || m_state.GenerationRunning || m_kind == mkNone)
        return;
    rebuildWorkingList();
    applyCountCaption();
}

void MediaListing::setListLabel(const QString &text)
{
    m_label = text;
    Q_EMIT listingChanged();
}

void MediaListing::chooseKind(int code)
{
    if (code >= mkGifJpg && code <= mkMp3)
        choosePictureOrSoundKind(code);
    else if (code == mkAvi || code == mkMpg)
        chooseMovieKind(code);
}

void MediaListing::choosePictureOrSoundKind(int code)
{
    const MediaKindInfo *kind = MediaKinds::info(code);
    m_rows.setMaskString(QString::fromLatin1(kind->masks));
    m_kind = kind->code;
    m_label = QString::fromLatin1(kind->caption);
    TypeofFileEvent();
}

void MediaListing::chooseMovieKind(int code)
{
    const MediaKindInfo *kind = MediaKinds::info(code);
    m_rows.setMaskString(QString::fromLatin1(kind->masks));
    m_kind = kind->code;
    m_options.mediaKindChanged(m_kind); // enables the size editors
    m_label = QString::fromLatin1(kind->caption);
    rebuildWorkingList();
    applyCountCaption();
}

void MediaListing::TypeofFileEvent()
{
    rebuildWorkingList();
    applyCountCaption();
    m_options.mediaKindChanged(m_kind);
    if (!m_files.isEmpty() && m_state.MWindowCheckBox && selectedRowIsFile()) {
        m_clickedFile = selectedName();
        m_state.ViewerOpen = true;
        if (m_viewer)
            m_viewer->showFile(m_clickedFile);
    }
    applyCountCaption();
}

void MediaListing::rebuildWorkingList()
{
    m_files.clear();
    const int rows = m_rows.rowCount();
    if (rows == 0)
        m_clickedFile.clear();
    m_files.reserve(rows);
    for (int row = 0; row < rows; ++row)
        m_files.append(m_rows.rowName(row));
    Q_EMIT listingChanged();
}

void MediaListing::applyCountCaption()
{
    m_label = CountCaption(m_label, m_files.size());
    Q_EMIT listingChanged();
}

QStringList MediaListing::readThumbnailNames() const
{
    return listFolder(m_folder, QStringLiteral("sm_*.*")).names;
}

void MediaListing::FileListBoxSHChange()
{
    if (m_state.Quitting && !selectedRowIsFile())
        return;
    if (m_rows.rowCount() == 0) {
        m_clickedFile.clear();
        m_files.clear();
        applyCountCaption();
        return;
    }
    if (!m_thumbnailsRead || m_thumbnailFolder != m_folder) {
        m_thumbnailFolder = m_folder;
        m_thumbnailsRead = true;
        m_thumbnails = readThumbnailNames();
        if (!m_folder.isEmpty())
            QDir::setCurrent(m_folder);
    }
    m_clickedFile.clear();
    if (m_state.GenerationRunning && m_options.UsePickList()) {
        const int picked = m_pickList ? m_pickList->fileCount() : 0;
        m_label = CountCaption(m_label, picked);
        Q_EMIT listingChanged();
        return;
    }
    rebuildWorkingList();
    applyCountCaption();
}

void MediaListing::FileListBoxSHClick()
{
    if (!selectedRowIsFile()) {
        m_clickedFile.clear();
        Q_EMIT listingChanged();
        return;
    }
    m_clickedFile = selectedName();
    Q_EMIT listingChanged();
    if (m_state.PickListOpen && m_pickList)
        m_pickList->appendFile(m_clickedFile);
    if (m_state.ViewerOpen && isMovieName(m_clickedFile)) {
        if (m_messages)
            m_messages->showMessage(tr("Choose GRABBER to view your movie"));
        return;
    }
    if (!m_files.isEmpty() && !m_clickedFile.isEmpty() && m_state.MWindowCheckBox && m_viewer)
        m_viewer->showFile(m_clickedFile);
}

void MediaListing::takeSelectedFile()
{
    if (selectedRowIsFile())
        m_clickedFile = selectedName();
}

bool MediaListing::selectedRowIsFile() const
{
    const int row = m_rows.selectedRow();
    return row >= 0 && row < m_rows.rowCount() && m_rows.rowIsFile(row);
}

QString MediaListing::selectedName() const
{
    return m_rows.rowName(m_rows.selectedRow());
}
