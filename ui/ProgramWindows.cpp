// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/ProgramWindows.h"

#include "generator/GenerationRun.h"
#include "generator/ThumbnailMaker.h"
#include "platform/DataFiles.h"
#include "platform/MountTable.h"
#include "platform/ProgramIcon.h"
#include "ui/OndrelSplash.h"
#include "ui/main.h"
#include "ui/kit/Skin.h"
#include "ui/kit/WindowPlacement.h"

#include <QApplication>
#include <QTimer>

ProgramWindows::ProgramWindows(PageOptions &options)
    : m_mainForm(options),
      m_settings(options),
      m_about(&m_playwave2),
      m_feedback(&m_mainForm, &m_prompt, &m_playwave2),
      m_runUi(m_mainForm, m_feedback, m_nameit, m_nameOver),
      m_pickListHost(m_mainForm),
      m_run(std::make_unique<GenerationRun>(m_mainForm.listing(), options, m_mainForm.state(), m_runUi,
                                            &m_pickList, opticalMountPointOf))
{
    // Every window of ours, and the standard dialogs they open, carry the launcher's icon.
    QApplication::setWindowIcon(ProgramIcon::icon());
    wire();
}

ProgramWindows::~ProgramWindows()
{
    delete m_mainForm.viewerWindow(); // a viewer still open goes before the windows it reaches
}

void ProgramWindows::wire()
{
    m_mainForm.setMessagePort(&m_feedback);
    m_mainForm.setOptionsWindow(&m_settings);
    m_mainForm.setPickListWindow(&m_pickList);
    m_mainForm.setPickListPort(&m_pickList);
    m_mainForm.setThumbnailCleaner(&CleanUpThumbnails);
    m_mainForm.setViewerFactory([this] { return new TMainForm2(m_mainForm, m_feedback, &m_playwave2); });
    QObject::connect(&m_mainForm, &TMainForm::createRequested, m_run.get(), &GenerationRun::WebButtonClick);

    QObject::connect(&m_settings, &TSettingsForm::aboutRequested, &m_about, [this] { m_about.exec(); });

    m_nameit.setMessageShower([this](const QString &text) { m_feedback.showMessage(text); });

    m_mainForm.setGrabberWindow(&m_grabber);
    m_grabber.setMessages(&m_feedback);
    m_grabber.setSounds(&m_playwave2);
    m_grabber.setCurrentFolder([this] { return m_mainForm.CurrentFolder(); });
    QObject::connect(&m_grabber, &TAVIForm::powerPressed, &m_mainForm,
                     [this] { m_mainForm.state().GrabberCheckBox = false; });
    // Opening a movie waits for the player in an event loop of its own: leave that to the first
    // loop that runs, so nothing the program's start-up connects later is missed meanwhile.
    QTimer::singleShot(0, &m_grabber,
                       [this] { m_grabber.FormCreate(DataFiles::path(QStringLiteral("start.avi"))); });

    // The pick list opens beside the main window, whose files are dragged into it. Where the
    // compositor places every window (Wayland), it would land where it likes, over the folder tree
    // as often as not: there the main window holds it.
    if (!WindowPlacement::programPlacesWindows())
        Skin::of(&m_mainForm)->holdBeside(&m_pickList);
    m_pickList.setHost(&m_pickListHost);
    m_pickList.setMessages(&m_feedback);
    m_pickList.setConfirmOverwrite([this](const QString &question) { return m_nameOver2.ask(question); });
}

void ProgramWindows::showStartSplash()
{
    (new TOndrelSplashForm(&m_playwave2))->exec(); // releases itself when it closes
}
