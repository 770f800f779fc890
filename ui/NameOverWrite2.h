// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "ui/OverwriteDialog.h"

// The list overwrite dialog: asked by the pick list window when the list file exists.
class TNameOver2 final : public OverwriteDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TNameOver2)

public:
    explicit TNameOver2(QWidget *parent = nullptr);

    // text: the list path followed by " already exists... Overwrite?". True when the user agreed;
    // the caller then writes the list.
    bool ask(const QString &text);
    // As above, but OK writes the list itself and stays open showing the failure if that fails.
    bool ask(const QString &text, std::function<QString()> write);
};
