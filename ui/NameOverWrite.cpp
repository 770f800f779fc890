// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/NameOverWrite.h"

TNameOver::TNameOver(QWidget *parent) : OverwriteDialog(QStringLiteral("TNameOver"), parent) {}

bool TNameOver::ask(const QString &text, std::function<QString()> write)
{
    m_confirmed = run(text, std::move(write));
    return m_confirmed;
}
