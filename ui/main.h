// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/ListingPorts.h"

#include <QPointer>
#include <QSize>
#include <QWidget>

#include <functional>

class FormDialogs;
class GifPlayer;
class QAction;
class QLabel;
class QMenu;
class QScrollArea;
class QStackedWidget;
class QTimer;
class SoundPlayer;
class TMainForm;
class ViewerDisplay;
struct ViewerPicture;

// The viewer: shows the file last clicked in the main window's file list (a GIF animated, a JPEG, a
// bitmap, an icon or metafile) with its name, size, width, height and colours, or plays a sound
// under a picture of its kind. Made by the View button, released when it closes.
class TMainForm2 final : public QWidget, public ViewerPort
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMainForm2)

public:
    // playwave2 plays the error sound (may be null: silent); messages shows "Error loading file".
    TMainForm2(TMainForm &mainForm, MessagePort &messages, SoundPlayer *playwave2, QWidget *parent = nullptr);
    ~TMainForm2() override;

    void setDialogs(FormDialogs *dialogs) { m_dialogs = dialogs; }

    // ViewerPort: the main window calls this after each click and kind change.
    void showFile(const QString &bareName) override;

    void FormShow();
    bool FileListClick(); // false: the file could not be shown
    void UpdateStatus();

    int currentPage() const;
    QString currentFileName() const { return m_fileName; }
    QString currentExtension() const { return m_extension; }
    SoundPlayer &soundPlayer() const { return *m_sound; }
    GifPlayer *gifPlayer() const { return m_gif; }
    bool isLoading() const { return m_loading; }

    QLabel *NameSizePanel = nullptr;
    QLabel *HeightPanel = nullptr;
    QLabel *WidthPanel = nullptr;
    QLabel *ColorPanel = nullptr;
    QWidget *MediaWindowPanel = nullptr;
    QStackedWidget *display = nullptr;
    ViewerDisplay *GIF1 = nullptr;
    ViewerDisplay *JPG = nullptr;
    ViewerDisplay *BMP = nullptr;
    ViewerDisplay *WIN = nullptr;
    QWidget *MCIPanel = nullptr;
    QLabel *SoundPic = nullptr;

    QMenu *MWindowPopupMenu = nullptr;
    QAction *Transparent1 = nullptr;
    QAction *Color1 = nullptr;
    QAction *ToggleFrontBack1 = nullptr;
    QAction *N1 = nullptr;
    QAction *CenterPicture = nullptr;
    QAction *FitToWindow = nullptr;

Q_SIGNALS:
    void loadStarted(); // the main window is disabled and busy from here to the end of the load

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void FormCreate();
    void Shutdown();
    void buildPages();
    void buildMenu();
    QScrollArea *scrolled(QWidget *content, int page);
    void showFailureFor(const QString &name);
    void clearPage(int page);
    bool loadSound(const QString &path);
    bool startGif(const ViewerPicture &picture);
    void stopGif();
    void releaseGif();            // stops the animation and empties its display
    QSize gifCanvasLimit() const; // the most of a GIF's screen the window can show
    void Transparent1Click();
    void Color1Click();
    void ToggleFrontBack1Click();
    void CenterPictureClick();
    void FitToWindowClick();
    void applyCentring();
    QSize fitBox() const; // where a fitted picture goes; empty when pictures show at their own size
    void refitJpeg();

    TMainForm &m_main;
    QPointer<TMainForm> m_mainAlive; // the viewer may outlive the main window at the program's end
    MessagePort &m_messages;
    QPointer<SoundPlayer> m_playwave2;
    SoundPlayer *m_sound = nullptr; // the viewed sound; it stops when the viewer goes
    FormDialogs *m_dialogs = nullptr;
    QScrollArea *m_areas[4] = {};
    GifPlayer *m_gif = nullptr; // the GIF shown, animated while there is one
    QString m_fileName;
    QString m_extension;
    QString m_soundFile; // the sound whose failure the player may still report
    bool m_loading = false;
    bool m_shutDown = false;
    bool m_togglingFlags = false;
    // What UpdateStatus reports for the picture pages, settled by the last successful load.
    int m_shownWidth = 0;
    int m_shownHeight = 0;
    int m_gifColours = 0;
    int m_gifFrames = 0;
    int m_bitsPerPixel = 0;
    QTimer *m_refit = nullptr; // a fitted JPEG decoded small is decoded again once the window has grown
};
