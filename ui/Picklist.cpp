// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/Picklist.h"

#include "core/PickList.h"
#include "core/PickListFile.h"
#include "core/PickListHost.h"
#include "ui/kit/HelpHints.h"
#include "ui/PicklistChoosers.h"
#include "ui/PicklistMemo.h"
#include "ui/kit/PictureButton.h"
#include "ui/kit/ShadowText.h"
#include "ui/kit/Skin.h"
#include "ui/kit/TellUser.h"
#include "ui/kit/WindowPlacement.h"

#include <QFileInfo>
#include <QShowEvent>
#include <QStringListModel>

TPickListForm::TPickListForm(QWidget *parent)
    : QWidget(parent, Qt::Window), m_choosers(std::make_unique<FileDialogPicklistChoosers>()),
      m_model(new QStringListModel(this)), m_memo(new PicklistMemo(this))
{
    setObjectName(QStringLiteral("PickListForm"));
    setWindowTitle(tr("Pick List"));
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(grey);
    resize(449, 355);
    Skin::apply(this, QStringLiteral("picklist_skin.png"), QColor(255, 255, 0));
    buildControls();
    WindowPlacement::centreOnScreen(this);
}

TPickListForm::~TPickListForm() = default;

void TPickListForm::buildControls()
{
    m_memo->setObjectName(QStringLiteral("PickListMemo"));
    m_memo->setModel(m_model);
    m_memo->setGeometry(60, 53, 328, 247);
    QFont bold = m_memo->font();
    bold.setBold(true);
    m_memo->setFont(bold);
    m_memo->viewport()->setCursor(Qt::PointingHandCursor);
    m_memo->setFrameShape(QFrame::NoFrame);
    HelpHints::setHint(m_memo,
                       tr("You can rearrange the files in this list by Left-Clicking on a file and holding "
                          "the left mouse button down while dragging. To remove a file, press the space "
                          "bar. The Directory List is disabled when this Pick List is in use. Your list "
                          "will be cleared if you change directories."));
    connect(m_memo, &PicklistMemo::lineDropped, this, &TPickListForm::PickListMemoEndDrag);
    connect(m_memo, &PicklistMemo::spacePressed, this, &TPickListForm::PickListMemoKeyPress);

    struct ButtonRow {
        QAbstractButton **button;
        const char *name;
        const char *picture;
        const char *label;
        QRect place;
        const char *hint;
        void (TPickListForm::*click)();
    };
    const ButtonRow rows[] = {
        {&m_fillButton, "FillButton", "picklist_fill.png", QT_TR_NOOP("Fill"), QRect(60, 302, 42, 25),
         QT_TR_NOOP("Click here to copy all files from the main list to the pick list."),
         &TPickListForm::FillButtonClick},
        {&m_loadButton, "LoadButton", "picklist_load.png", QT_TR_NOOP("Load"), QRect(158, 301, 59, 27),
         QT_TR_NOOP("Load a previously saved list. NOTE: If you have moved or deleted files from the list's "
                    "directory, you will need to update the list or your web page will have broken links."),
         &TPickListForm::LoadButtonClick},
        {&m_saveButton, "SaveButton", "picklist_save.png", QT_TR_NOOP("Save"), QRect(229, 301, 59, 27),
         QT_TR_NOOP("Click here to save your custom list. You can load it at a later time."),
         &TPickListForm::SaveButtonClick},
        {&m_clearButton, "ClearButton", "picklist_clear.png", QT_TR_NOOP("Clear"), QRect(334, 301, 64, 28),
         QT_TR_NOOP("Click here to clear the contents of the Pick List."), &TPickListForm::ClearButtonClick},
    };
    for (const ButtonRow &row : rows) {
        *row.button =
            PictureButton::place(this, QString::fromLatin1(row.name), QString::fromLatin1(row.picture),
                                 tr(row.label), row.place, tr(row.hint));
        connect(*row.button, &QAbstractButton::clicked, this, row.click);
    }

    // The close mark: a bold "x", white with a black shadow while the pointer is over it.
    m_haltButton = new ShadowText(QStringLiteral("x"), this);
    m_haltButton->setObjectName(QStringLiteral("HaltButton"));
    QFont mark(QStringLiteral("Arial"));
    mark.setBold(true);
    mark.setPixelSize(16);
    m_haltButton->setFont(mark);
    m_haltButton->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_haltButton->setClickable(true);
    m_haltButton->setHotLook({QColor(Qt::white), QColor(Qt::black)});
    m_haltButton->setShadowRoom(QSize(2, 1));
    m_haltButton->setGeometry(QRect(QPoint(411, 17), m_haltButton->sizeHint()));
    HelpHints::setHint(m_haltButton, tr("Close window"));
    connect(m_haltButton, &ShadowText::clicked, this, &TPickListForm::HaltButtonClick);
}

void TPickListForm::setChoosers(std::unique_ptr<PicklistChoosers> choosers)
{
    m_choosers = std::move(choosers);
}

void TPickListForm::appendFile(const QString &bareName)
{
    const int row = m_model->rowCount();
    m_model->insertRows(row, 1);
    m_model->setData(m_model->index(row), bareName);
}

int TPickListForm::fileCount() const
{
    return m_model->rowCount();
}

QStringList TPickListForm::lines() const
{
    return m_model->stringList();
}

int TPickListForm::selectedLine() const
{
    const QModelIndexList rows = m_memo->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TPickListForm::selectLine(int row)
{
    const QModelIndex index = m_model->index(row);
    m_memo->setCurrentIndex(index);
    m_memo->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
}

void TPickListForm::FillButtonClick()
{
    m_model->setStringList(m_host ? PickList::namesOf(m_host->FileListBox()) : QStringList());
}

void TPickListForm::ClearButtonClick()
{
    m_model->setStringList({});
}

void TPickListForm::PickListMemoKeyPress()
{
    const int row = selectedLine();
    if (row >= 0)
        m_model->removeRows(row, 1);
}

void TPickListForm::PickListMemoEndDrag(const QPoint &viewportPos)
{
    const int from = selectedLine();
    const QModelIndex under = m_memo->indexAt(viewportPos);
    const std::optional<int> to = PickList::dropTarget(from, under.isValid() ? under.row() : -1, fileCount());
    if (!to)
        return;
    m_model->moveRows(QModelIndex(), from, 1, QModelIndex(), PickList::modelDestination(from, *to));
    selectLine(*to);
}

// A list that could not be read back as it is (a name with a line break, say) is refused before
// the chooser opens.
void TPickListForm::SaveButtonClick()
{
    const PickListFile::Encoded encoded = PickListFile::encode(currentFolder(), lines());
    if (!encoded.ok()) {
        tell(encoded.error);
        return;
    }
    const QString path = m_choosers ? m_choosers->askSaveName(this) : QString();
    if (path.isEmpty())
        return;
    m_memoList = encoded.bytes;
    const QFileInfo target(path);
    if (target.exists() || target.isSymLink()) {
        const QString question = path + tr(" already exists... Overwrite?");
        if (!m_confirmOverwrite || !m_confirmOverwrite(question))
            return;
    }
    if (const QString error = PickListFile::write(path, m_memoList); !error.isEmpty())
        tell(error);
}

void TPickListForm::LoadButtonClick()
{
    const QString path = m_choosers ? m_choosers->askOpenName(this) : QString();
    if (path.isEmpty())
        return;
    const PickListFile::Loaded loaded = PickListFile::load(path);
    if (!loaded.ok()) {
        tell(loaded.error);
        return;
    }
    const PickListFile::Content &list = loaded.content;
    m_model->setStringList(list.names);
    if (m_host) {
        m_host->changeFolder(list.folder);
        if (const std::optional<MediaKind> kind = PickList::kindForFirstName(list.names.first()))
            m_host->chooseKind(*kind);
    }
    tell(tr("Using %1 files in %2 directory").arg(list.names.size()).arg(list.folderLine));
}

void TPickListForm::HaltButtonClick()
{
    if (m_host)
        m_host->pickListClosed();
    hide();
}

void TPickListForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TPickListForm::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

// The folder tree stays put while the list is shown, so the list belongs to one folder; a list
// left from another folder is dropped.
void TPickListForm::FormShow()
{
    if (m_host)
        m_host->setFolderTreeEnabled(false);
    if (currentFolder() != m_holdDir)
        ClearButtonClick();
}

void TPickListForm::FormHide()
{
    if (m_host)
        m_host->setFolderTreeEnabled(true);
    m_holdDir = currentFolder();
}

void TPickListForm::tell(const QString &text)
{
    tellUser(m_messages, this, text);
}

QString TPickListForm::currentFolder() const
{
    return m_host ? m_host->CurrentFolder() : QString();
}
