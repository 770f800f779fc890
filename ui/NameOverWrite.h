// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "ui/OverwriteDialog.h"

// The page overwrite dialog: asked by the generation run when the page file exists. OK writes
// the page through the run's write and closes only once it has succeeded.
class TNameOver final : public OverwriteDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TNameOver)

public:
    explicit TNameOver(QWidget *parent = nullptr);

    // text: the page path followed by " already exists... Overwrite?". Returns OverwriteConfirmed.
    bool ask(const QString &text, std::function<QString()> write);

    bool OverwriteConfirmed() const { return m_confirmed; }
    void clearOverwriteConfirmed() { m_confirmed = false; }

private:
    bool m_confirmed = false;
};
