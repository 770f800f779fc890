// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/MovieChooser.h"

#include <QCoreApplication>
#include <QFileDialog>

QString FileDialogMovieChooser::askMovie(QWidget *parent, const QString &folder, const QString &initialName)
{
    QFileDialog dialog(parent, QCoreApplication::translate("MovieChooser", "Open"), folder);
    dialog.setObjectName(QStringLiteral("MovieOpenDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(initialName + QStringLiteral(" (") + initialName + QLatin1Char(')'));
    dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}
