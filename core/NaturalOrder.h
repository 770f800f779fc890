// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

// Name order as a file manager shows it: runs of digits compare by value (img2 before img10),
// the rest without regard to letter case; ties fall back to a plain comparison so the order is total.
bool naturalLess(const QString &a, const QString &b);
int naturalCompare(const QString &a, const QString &b);
