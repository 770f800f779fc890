// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/PicklistChoosers.h"

#include <QCoreApplication>
#include <QFileDialog>

namespace {

QString tr(const char *text) { return QCoreApplication::translate("PicklistChoosers", text); }

QString ask(QWidget *parent, QFileDialog::AcceptMode mode, const QString &title, const QString &filter)
{
    QFileDialog dialog(parent, title);
    dialog.setObjectName(mode == QFileDialog::AcceptSave ? QStringLiteral("PicklistSaveDialog")
                                                        : QStringLiteral("PicklistOpenDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(QStringLiteral("mpf"));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

} // namespace

QString FileDialogPicklistChoosers::askSaveName(QWidget *parent)
{
    return ask(parent, QFileDialog::AcceptSave, tr("Save As"), tr("MPF (Media Page File)  *.mpf (*.mpf)"));
}

QString FileDialogPicklistChoosers::askOpenName(QWidget *parent)
{
    return ask(parent, QFileDialog::AcceptOpen, tr("Open"), tr("MPF (Media Page File) *.mpf (*.mpf)"));
}
