// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <array>

class FileListView;
class FolderTreeView;
class PictureButton;
class QAction;
class QMenu;
class QWidget;
class ShadowText;

// The controls of the main window, laid out on its skin at their fixed places with their captions,
// fonts and hints. Owned by the window (parent ownership).
struct ScannerControls {
    explicit ScannerControls(QWidget *form);

    FolderTreeView *DirectoryListBox;
    FileListView *FileListBoxSH;
    ShadowText *ListLabel;
    ShadowText *HaltButton;
    ShadowText *Shrinkit;
    PictureButton *WebButton;
    PictureButton *PreviewButton;
    PictureButton *GrabberButton;
    PictureButton *ViewButton;
    PictureButton *OptionsButton;
    PictureButton *PickListButton;
    PictureButton *RzBmpButton1;
    std::array<PictureButton *, 8> kindButtons; // kinds 1 to 8, in code order
    QMenu *FileListPopupMenu;
    QAction *Deleteallthumbnails1;
    QAction *Removespacesfromfilenames1;
};
