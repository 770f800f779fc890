// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QColor>
#include <QString>

#include <optional>

class QWidget;

// The questions the forms ask through the desktop's standard dialogs, behind one small interface
// so tests can answer them without a dialog.
class FormDialogs
{
public:
    virtual ~FormDialogs() = default;

    // An existing file chosen by the user, or an empty text when cancelled.
    virtual QString askFile(QWidget *parent, const QString &title, const QString &filter) = 0;
    virtual std::optional<QColor> askColor(QWidget *parent, const QColor &start) = 0;
    // A failure the user must read before going on.
    virtual void showError(QWidget *parent, const QString &text) = 0;
};

// The real dialogs: Qt's own widget dialogs, never the desktop theme's native ones.
class QtFormDialogs final : public FormDialogs
{
public:
    QString askFile(QWidget *parent, const QString &title, const QString &filter) override;
    std::optional<QColor> askColor(QWidget *parent, const QColor &start) override;
    void showError(QWidget *parent, const QString &text) override;

    static QtFormDialogs &instance();
};
