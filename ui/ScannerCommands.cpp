// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's commands: preview, view, the windows it opens, and the folder maintenance of the
// file list's pop-up menu.
#include "ui/Scanner.h"

#include "core/MediaListing.h"
#include "core/PageOptions.h"
#include "core/RemoveSpaces.h"
#include "platform/UrlOpener.h"
#include "ui/BoxMessages.h"
#include "ui/ScannerControls.h"
#include "ui/kit/WindowPlacement.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>

namespace
{

bool isMovieName(const QString &name)
{
    const QString tail = name.right(3).toUpper();
    return tail == QLatin1String("AVI") || tail == QLatin1String("MPG");
}

void toggle(QWidget *window, bool show)
{
    if (!window)
        return;
    if (show) {
        window->show();
        window->raise();
    } else {
        window->hide();
    }
}

} // namespace

void TMainForm::PreviewButtonClick()
{
    const QString folder = CurrentFolder();
    if (folder.isEmpty() || !QDir::setCurrent(folder)) {
        BoxMessages::showFailure(this, tr("The folder \"%1\" cannot be opened.").arg(folder));
        return;
    }
    if (m_state.MyFile.isEmpty())
        m_state.MyFile = m_options.WebNameEdit();
    const QFileInfo page(QDir(folder), m_state.MyFile);
    if (page.isFile()) {
        const QString path = page.absoluteFilePath();
        // The launcher may start fine and find no program (no browser installed): that is told too.
        const auto noProgram = [form = QPointer<TMainForm>(this), path] {
            if (form && form->m_messages)
                form->m_messages->showMessage(tr("No program could open the page %1").arg(path));
        };
        if (!m_opener->openFile(path, m_previewWorkingFolder, noProgram))
            noProgram();
    } else {
        m_messages->showMessage(m_state.MyFile + tr(" does not exist in ") + folder);
    }
}

void TMainForm::ViewButton2Click()
{
    const QString clicked = m_listing->ClickedFile();
    if (isMovieName(clicked)) {
        m_messages->showMessage(tr("Choose GRABBER to view your movie"));
        return;
    }
    if (clicked.isEmpty() && !m_state.ViewerOpen) {
        m_messages->showMessage(tr("You must choose a file first"));
        return;
    }
    m_state.MWindowCheckBox = !m_state.MWindowCheckBox;
    if (m_state.MWindowCheckBox)
        openViewer();
    else if (m_viewer)
        m_viewer->close();
}

// A new viewer each time; when it goes, the flags that say it is open go with it.
void TMainForm::openViewer()
{
    if (!m_viewerFactory)
        return;
    QWidget *viewer = m_viewerFactory();
    if (!viewer)
        return;
    viewer->setAttribute(Qt::WA_DeleteOnClose);
    m_viewer = viewer;
    if (!m_viewerPort)
        m_listing->setViewer(dynamic_cast<ViewerPort *>(viewer));
    connect(viewer, &QObject::destroyed, this, [this] {
        m_state.ViewerOpen = false;
        m_state.MWindowCheckBox = false;
        if (!m_viewerPort)
            m_listing->setViewer(nullptr);
    });
    m_state.ViewerOpen = true;
    viewer->show();
}

void TMainForm::OptionsButtonClick()
{
    if (m_optionsWindow)
        toggle(m_optionsWindow, !m_optionsWindow->isVisible());
}

void TMainForm::GrabberButtonClick()
{
    m_state.GrabberCheckBox = !m_state.GrabberCheckBox;
    toggle(m_grabberWindow, m_state.GrabberCheckBox);
}

void TMainForm::PickListButtonClick()
{
    m_state.PickListOpen = !m_state.PickListOpen;
    // The first time, beside this window so that files can be dragged from its list; after that
    // where the person left it. Held in this window (where the program cannot place windows), it
    // has its place already.
    if (m_state.PickListOpen && m_pickListWindow && m_pickListWindow->isWindow() && !m_pickListPlaced) {
        WindowPlacement::placeWithoutCovering(m_pickListWindow, this);
        m_pickListPlaced = true;
    }
    toggle(m_pickListWindow, m_state.PickListOpen);
}

void TMainForm::RzBmpButton1Click()
{
    m_options.setHelpSystem(false);
}

void TMainForm::Deleteallthumbnails1Click()
{
    if (!m_thumbnailCleaner)
        return;
    m_thumbnailCleaner(CurrentFolder(), m_listing->FileListBox());
    m_messages->showMessage(tr("All thumbnails have been deleted"));
    chooseKind(m_listing->CurrentKind());
}

void TMainForm::Removespacesfromfilenames1Click()
{
    const QString folder = CurrentFolder();
    const RemoveSpacesResult result = RemoveSpacesFromFileNames(folder, m_listing->FileListBox());
    m_messages->showMessageLines(RemoveSpacesMessage(folder, result));
}
