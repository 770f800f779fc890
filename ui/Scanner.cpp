// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/Scanner.h"

#include "core/MediaListing.h"
#include "core/PageOptions.h"
#include "platform/UrlOpener.h"
#include "ui/BoxMessages.h"
#include "ui/FileListView.h"
#include "ui/FolderTreeView.h"
#include "ui/kit/HelpHints.h"
#include "ui/kit/PictureButton.h"
#include "ui/ScannerControls.h"
#include "ui/kit/ShadowText.h"
#include "ui/kit/Skin.h"

#include <QApplication>
#include <QMenu>

TMainForm::TMainForm(PageOptions &options, QWidget *parent)
    : QWidget(parent), m_options(options), m_boxMessages(std::make_unique<BoxMessages>(this)),
      m_desktopOpener(std::make_unique<DesktopUrlOpener>())
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QApplication::applicationDisplayName());
    Skin::apply(this, QStringLiteral("scanner_skin.png"), QColor(Qt::black));
    m_messages = m_boxMessages.get();
    m_opener = m_desktopOpener.get();
    HelpHints::instance().setOptions(&m_options);
    // A balloon that is up when help is switched off goes at once, not at the next pointer move.
    connect(&m_options, &PageOptions::helpSystemChanged, this, [](bool on) {
        if (!on)
            HelpHints::instance().hideHint();
    });

    m_controls = std::make_unique<ScannerControls>(this);
    m_listing = new MediaListing(*m_controls->FileListBoxSH, m_options, m_state, this);
    m_listing->setMessages(m_messages);
    m_controls->Deleteallthumbnails1->setEnabled(false); // until the thumbnail maker is handed in

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setSingleShot(true);
    m_timer1.setInterval(500);
    connect(&m_timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);

    wireListing();
    wireCommands();
    FormCreate();
}

TMainForm::~TMainForm()
{
    // The controls go after this body; what they report while they go must reach nobody.
    m_controls->DirectoryListBox->blockSignals(true);
    m_controls->FileListBoxSH->blockSignals(true);
    m_listing->blockSignals(true);
}

void TMainForm::setMessagePort(MessagePort *messages)
{
    m_messages = messages ? messages : m_boxMessages.get();
    m_listing->setMessages(m_messages);
}

void TMainForm::setViewerPort(ViewerPort *viewer)
{
    m_viewerPort = viewer;
    m_listing->setViewer(viewer);
}

void TMainForm::setPickListPort(PickListPort *pickList)
{
    m_listing->setPickList(pickList);
}
void TMainForm::setUrlOpener(UrlOpener *opener)
{
    m_opener = opener ? opener : m_desktopOpener.get();
}
void TMainForm::setOptionsWindow(QWidget *window)
{
    m_optionsWindow = window;
}
void TMainForm::setGrabberWindow(QWidget *window)
{
    m_grabberWindow = window;
}
void TMainForm::setPickListWindow(QWidget *window)
{
    m_pickListWindow = window;
}
void TMainForm::setViewerFactory(ViewerFactory factory)
{
    m_viewerFactory = std::move(factory);
}

void TMainForm::setThumbnailCleaner(ThumbnailCleaner cleaner)
{
    m_thumbnailCleaner = std::move(cleaner);
    m_controls->Deleteallthumbnails1->setEnabled(bool(m_thumbnailCleaner));
}

MessagePort &TMainForm::messages() const
{
    return *m_messages;
}

QString TMainForm::CurrentFolder() const
{
    return m_listing->CurrentFolder();
}

bool TMainForm::selectFolder(const QString &path)
{
    return m_controls->DirectoryListBox->selectFolder(path);
}

void TMainForm::chooseKind(int code)
{
    m_listing->chooseKind(code);
    showChosenKind();
}

// The chosen kind's button looks chosen; a click on a button never unchooses it by itself.
void TMainForm::showChosenKind()
{
    for (int code = mkGifJpg; code <= mkMpg; ++code) {
        PictureButton *button = m_controls->kindButtons[code - 1];
        button->setCheckable(true);
        button->setChecked(code == int(m_listing->CurrentKind()));
    }
}

void TMainForm::WebButtonClick()
{
    Q_EMIT createRequested();
}

// The tree drives the list; the list's events drive the listing; the listing's state shows in the label.
void TMainForm::wireListing()
{
    FolderTreeView *tree = m_controls->DirectoryListBox;
    FileListView *list = m_controls->FileListBoxSH;
    connect(tree, &FolderTreeView::folderSelected, this, [this, list](const QString &folder) {
        m_listing->setCurrentFolder(folder);
        list->setFolder(folder);
    });
    connect(list, &FileListView::folderChanged, m_listing, &MediaListing::FileListBoxSHFolderChanged);
    connect(list, &FileListView::contentsChanged, m_listing, &MediaListing::FileListBoxSHChange);
    connect(list, &FileListView::fileClicked, m_listing, &MediaListing::FileListBoxSHClick);
    connect(list, &FileListView::keyReleased, m_listing, &MediaListing::FileListBoxSHKeyUp);
    connect(m_listing, &MediaListing::listingChanged, this, [this] {
        m_controls->ListLabel->setText(m_listing->ListLabel());
        showChosenKind();
    });
    connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint &at) {
        m_controls->FileListPopupMenu->popup(list->viewport()->mapToGlobal(at));
    });
}

void TMainForm::wireCommands()
{
    const ScannerControls &c = *m_controls;
    for (int code = mkGifJpg; code <= mkMpg; ++code)
        connect(c.kindButtons[code - 1], &QAbstractButton::clicked, this, [this, code] { chooseKind(code); });
    connect(c.WebButton, &QAbstractButton::clicked, this, &TMainForm::WebButtonClick);
    connect(c.PreviewButton, &QAbstractButton::clicked, this, &TMainForm::PreviewButtonClick);
    connect(c.ViewButton, &QAbstractButton::clicked, this, &TMainForm::ViewButton2Click);
    connect(c.OptionsButton, &QAbstractButton::clicked, this, &TMainForm::OptionsButtonClick);
    connect(c.GrabberButton, &QAbstractButton::clicked, this, &TMainForm::GrabberButtonClick);
    connect(c.PickListButton, &QAbstractButton::clicked, this, &TMainForm::PickListButtonClick);
    connect(c.HaltButton, &ShadowText::clicked, this, &TMainForm::HaltButtonClick);
    connect(c.Shrinkit, &ShadowText::clicked, this, &TMainForm::ShrinkitClick);
    connect(c.RzBmpButton1, &QAbstractButton::clicked, this, &TMainForm::RzBmpButton1Click);
    connect(c.Deleteallthumbnails1, &QAction::triggered, this, &TMainForm::Deleteallthumbnails1Click);
    connect(c.Removespacesfromfilenames1, &QAction::triggered, this,
            &TMainForm::Removespacesfromfilenames1Click);
}
