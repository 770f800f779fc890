// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/ListingPorts.h"
#include "core/MainState.h"
#include "core/MediaKinds.h"

#include <QObject>
#include <QStringList>

class PageOptions;

// The main window's listing state and the events that keep it current: the working list built from
// the file list's rows for the current kind, the clicked file, the count label and the thumbnail
// names. Plain logic over FileListRows, so a window or a test can drive it.
class MediaListing final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MediaListing)

public:
    MediaListing(FileListRows &rows, PageOptions &options, MainState &state, QObject *parent = nullptr);

    void setViewer(ViewerPort *viewer) { m_viewer = viewer; }
    void setPickList(PickListPort *pickList) { m_pickList = pickList; }
    void setMessages(MessagePort *messages) { m_messages = messages; }

    MediaKind CurrentKind() const { return m_kind; }
    QString CurrentFolder() const { return m_folder; }
    const QStringList &FileListBox() const { return m_files; }
    QStringList &FileListBox() { return m_files; }
    QString ClickedFile() const { return m_clickedFile; }
    QString ListLabel() const { return m_label; }
    QStringList ThumbnailListBox() const { return m_thumbnails; }

    // The folder tree's selection: its path, or empty when it has none.
    void setCurrentFolder(const QString &folder) { m_folder = folder; }
    void setListLabel(const QString &text);

    // Kind handlers: 1 to 6 choose a picture or sound kind, 7 and 8 a movie kind.
    void chooseKind(int code);
    void TypeofFileEvent();
    void FileListBoxSHChange();
    void FileListBoxSHFolderChanged() { FileListBoxSHChange(); }
    void FileListBoxSHClick();
    void FileListBoxSHKeyUp() { FileListBoxSHClick(); }
    // The file list's selected file becomes the clicked file, when a file is selected.
    void takeSelectedFile();
    void rebuildWorkingList();
    void applyCountCaption();
    // Reads the folder's "sm_*.*" names afresh.
    QStringList readThumbnailNames() const;

Q_SIGNALS:
    void listingChanged(); // working list, label or clicked file changed

private:
    void choosePictureOrSoundKind(int code);
    void chooseMovieKind(int code);
    bool selectedRowIsFile() const;
    QString selectedName() const;
    void followPickListChoice();

    FileListRows &m_rows;
    PageOptions &m_options;
    MainState &m_state;
    ViewerPort *m_viewer = nullptr;
    PickListPort *m_pickList = nullptr;
    MessagePort *m_messages = nullptr;

    MediaKind m_kind = mkNone;
    QString m_folder;
    QStringList m_files;
    QString m_clickedFile;
    QString m_label = QStringLiteral("Picture List");
    QStringList m_thumbnails;
    QString m_thumbnailFolder;
    bool m_thumbnailsRead = false;
    bool m_usedPickList;
};
