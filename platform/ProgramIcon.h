// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QIcon>

// The program's icon for its windows: the very pictures the desktop's icon theme gets, one per size,
// read from the data folder in the build tree or from the icon theme beside it once installed, so a
// dock and a window list show the launcher's icon without depending on the desktop's theme cache.
namespace ProgramIcon
{

QIcon icon();

} // namespace ProgramIcon
