// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QImage>
#include <QString>

// The whole primary screen as it is now; kept as name in TESSALOOM_SHOT_DIR when that is set, so a
// person can look at it.
QImage screenShot(const QString &name);
