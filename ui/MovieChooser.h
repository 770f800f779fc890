// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

class QWidget;

// The open chooser of the frame grabber; tests put their own in place.
class MovieChooser
{
public:
    virtual ~MovieChooser() = default;
    // The chosen path, or empty when the user cancelled. initialName is a pattern such as "*.avi",
    // which is also the filter; the chooser starts in folder.
    virtual QString askMovie(QWidget *parent, const QString &folder, const QString &initialName) = 0;
};

// Qt's own file dialog (never the desktop's native one, which cannot be scripted); no default
// extension is added.
class FileDialogMovieChooser final : public MovieChooser
{
public:
    QString askMovie(QWidget *parent, const QString &folder, const QString &initialName) override;
};
