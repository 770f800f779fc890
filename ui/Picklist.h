// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/ListingPorts.h"

#include <QByteArray>
#include <QWidget>

#include <functional>
#include <memory>

class PickListHost;
class PicklistChoosers;
class PicklistMemo;
class QAbstractButton;
class QStringListModel;
class ShadowText;

// The pick list window: the user's own order of files from the main window's current folder,
// filled from the working list or by clicks in the main file list, rearranged by dragging, saved to
// and loaded from a ".mpf" file. It lives for the whole run and is only shown and hidden.
class TPickListForm final : public QWidget, public PickListPort
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPickListForm)

public:
    using ConfirmOverwrite = std::function<bool(const QString &question)>;

    explicit TPickListForm(QWidget *parent = nullptr);
    ~TPickListForm() override;

    // The main window behind the list; without one the window keeps to itself.
    void setHost(PickListHost *host) { m_host = host; }
    void setMessages(MessagePort *messages) { m_messages = messages; }
    // Asks before a save replaces a list file; true writes it. Without one nothing is replaced.
    void setConfirmOverwrite(ConfirmOverwrite confirm) { m_confirmOverwrite = std::move(confirm); }
    void setChoosers(std::unique_ptr<PicklistChoosers> choosers);

    // PickListPort, read by the main window's file list and by the generation run.
    void appendFile(const QString &bareName) override;
    int fileCount() const override;
    QStringList lines() const override;

    PicklistMemo *PickListMemo() const { return m_memo; }
    QStringListModel *model() const { return m_model; }
    QString HoldDir() const { return m_holdDir; }
    QByteArray MemoList() const { return m_memoList; }
    int selectedLine() const;
    void selectLine(int row);

public Q_SLOTS:
    void FillButtonClick();
    void ClearButtonClick();
    void SaveButtonClick();
    void LoadButtonClick();
    void HaltButtonClick();
    void PickListMemoKeyPress(); // the space bar
    void PickListMemoEndDrag(const QPoint &viewportPos);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void buildControls();
    void FormShow();
    void FormHide();
    void tell(const QString &text);
    QString currentFolder() const;

    PickListHost *m_host = nullptr;
    MessagePort *m_messages = nullptr;
    ConfirmOverwrite m_confirmOverwrite;
    std::unique_ptr<PicklistChoosers> m_choosers;

    QStringListModel *m_model;
    PicklistMemo *m_memo;
    QAbstractButton *m_fillButton = nullptr;
    QAbstractButton *m_loadButton = nullptr;
    QAbstractButton *m_saveButton = nullptr;
    QAbstractButton *m_clearButton = nullptr;
    ShadowText *m_haltButton = nullptr;

    QString m_holdDir;
    QByteArray m_memoList;
};
