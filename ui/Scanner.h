// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/MainState.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class BoxMessages;
class DesktopUrlOpener;
class MediaListing;
class MessagePort;
class PageOptions;
class PickListPort;
class UrlOpener;
class ViewerPort;
struct ScannerControls;

// The main window: folder tree, file list, the eight kind buttons, Create and the buttons that open
// the other windows. The listing logic lives in MediaListing; this class wires the controls to it
// and runs the commands. The other windows are handed in through the setters below.
class TMainForm final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMainForm)

public:
    using ViewerFactory = std::function<QWidget *()>;
    using ThumbnailCleaner = std::function<void(const QString &folder, QStringList &FileListBox)>;

    explicit TMainForm(PageOptions &options, QWidget *parent = nullptr);
    ~TMainForm() override;

    // The windows and services this window reaches; each may be left unset.
    void setMessagePort(MessagePort *messages); // default: a plain message box
    void setViewerPort(ViewerPort *viewer);     // else the viewer window itself when it is one
    void setPickListPort(PickListPort *pickList);
    void setUrlOpener(UrlOpener *opener); // default: the desktop's default program
    void setOptionsWindow(QWidget *window);
    void setGrabberWindow(QWidget *window);
    void setPickListWindow(QWidget *window);
    void setViewerFactory(ViewerFactory factory); // makes a new viewer, shown on View
    void setThumbnailCleaner(ThumbnailCleaner cleaner);
    void setPreviewWorkingFolder(const QString &folder) { m_previewWorkingFolder = folder; }

    MainState &state() { return m_state; }
    PageOptions &options() { return m_options; }
    MediaListing &listing() { return *m_listing; }
    const ScannerControls &controls() const { return *m_controls; }
    QWidget *viewerWindow() const { return m_viewer; }
    MessagePort &messages() const;

    QString CurrentFolder() const;
    bool selectFolder(const QString &path); // in the folder tree, which the file list follows

    // Commands, also run by other windows.
    void chooseKind(int code); // the kind handlers of kinds 1 to 8
    void WebButtonClick();
    void PreviewButtonClick();
    void ViewButton2Click();
    void OptionsButtonClick();
    void GrabberButtonClick();
    void PickListButtonClick();
    void HaltButtonClick();
    void ShrinkitClick();
    void RzBmpButton1Click();
    void Deleteallthumbnails1Click();
    void Removespacesfromfilenames1Click();
    void Timer1Timer();
    // A second start of the program asked for this window, handing on the activation token its
    // launcher gave it (Wayland lets a window take the focus only with one).
    void bringToFront(const QString &activationToken = QString());

Q_SIGNALS:
    void createRequested(); // Create was pressed: start a generation run

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void wireListing();
    void showChosenKind();
    void wireCommands();
    void openViewer();

    PageOptions &m_options;
    MainState m_state;
    std::unique_ptr<ScannerControls> m_controls;
    MediaListing *m_listing = nullptr;
    std::unique_ptr<BoxMessages> m_boxMessages;
    std::unique_ptr<DesktopUrlOpener> m_desktopOpener;
    MessagePort *m_messages = nullptr;
    ViewerPort *m_viewerPort = nullptr;
    UrlOpener *m_opener = nullptr;
    bool m_pickListPlaced = false;
    QPointer<QWidget> m_optionsWindow;
    QPointer<QWidget> m_grabberWindow;
    QPointer<QWidget> m_pickListWindow;
    QPointer<QWidget> m_viewer;
    ViewerFactory m_viewerFactory;
    ThumbnailCleaner m_thumbnailCleaner;
    QString m_previewWorkingFolder;
    QTimer m_timer1;
};
