// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "generator/GenerationUi.h"

#include <QDialog>
#include <QStringList>

#include <functional>

class NumberField;
class PageOptions;
class QCheckBox;
class QLineEdit;

// The name dialog: shown by the generation run before it builds a page, so the user can confirm
// or change the page's file name, title and counter, and whether old thumbnails are deleted and
// the page previewed (those two flags live in the options for the whole run of the program).
class TNameitForm final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TNameitForm)

public:
    using MessageShower = std::function<void(const QString &)>;
    static constexpr const char *MissingExtensionText = "Please add file extension (.htm)";

    explicit TNameitForm(QWidget *parent = nullptr);

    // Fills the fields from the options and shows the dialog modally. On OK the name and title
    // are already in the options; the answer carries the counter as plain digits.
    NameDialogAnswer ask(PageOptions &options);

    bool NameCancelled() const { return m_cancelled; }
    // The program's message window shows the refusal of a name without "."; a plain box until set.
    void setMessageShower(MessageShower shower) { m_showMessage = std::move(shower); }
    // The files the page is made of: a page named like one of them is refused, as it would replace it.
    void setFilesOfThePage(const QStringList &names) { m_filesOfThePage = names; }

public Q_SLOTS:
    void OKButtonClick();
    void CancelButtonClick();
    void reject() override; // Escape, and any other close, is Cancel

private:
    using FlagGetter = std::function<bool(const PageOptions &)>;
    using FlagSetter = std::function<void(PageOptions &, bool)>;
    void addFlag(const QString &boxName, const QString &captionName, const QString &caption, int y,
                 FlagGetter get, FlagSetter set);
    NameDialogAnswer answer() const;

    QLineEdit *m_webName;
    NumberField *m_counter;
    QLineEdit *m_title;
    PageOptions *m_options = nullptr; // while shown
    bool m_cancelled = false;
    MessageShower m_showMessage;
    QStringList m_filesOfThePage;
};
