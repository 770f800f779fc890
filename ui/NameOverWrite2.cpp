// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/NameOverWrite2.h"

TNameOver2::TNameOver2(QWidget *parent) : OverwriteDialog(QStringLiteral("TNameOver2"), parent) {}

bool TNameOver2::ask(const QString &text)
{
    return run(text, nullptr);
}

bool TNameOver2::ask(const QString &text, std::function<QString()> write)
{
    return run(text, std::move(write));
}
