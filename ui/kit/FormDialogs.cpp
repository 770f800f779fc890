// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/kit/FormDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>

QString QtFormDialogs::askFile(QWidget *parent, const QString &title, const QString &filter)
{
    QFileDialog dialog(parent, title);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

std::optional<QColor> QtFormDialogs::askColor(QWidget *parent, const QColor &start)
{
    const QColor chosen = QColorDialog::getColor(start, parent, QString(), QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

void QtFormDialogs::showError(QWidget *parent, const QString &text)
{
    QMessageBox::critical(parent, QApplication::applicationName(), text);
}

QtFormDialogs &QtFormDialogs::instance()
{
    static QtFormDialogs dialogs;
    return dialogs;
}
