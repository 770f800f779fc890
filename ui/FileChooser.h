// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QLineEdit>

class FormDialogs;

// A picture path that cannot be typed into: the folder button opens the open-picture dialog.
// The path is kept as the options keep it, in double quotes when it holds a blank.
class FileChooser final : public QLineEdit
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FileChooser)

public:
    FileChooser(const QString &objectName, const QString &dialogTitle, QWidget *parent);

    void setDialogs(FormDialogs *dialogs) { m_dialogs = dialogs; }
    void setAcceptsFileDrops(bool on) { setAcceptDrops(on); }
    void choose(); // the folder button

    // How the options keep a chosen path.
    static QString optionPath(const QString &path);
    // The dialog's filter: GIF and JPG pictures, whatever the letter case of their names.
    static QString pictureFilter();

Q_SIGNALS:
    void pathChosen(const QString &optionPath);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QString m_title;
    FormDialogs *m_dialogs = nullptr;
};
