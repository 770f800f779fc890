// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <memory>

class QSettings;

// The per-user settings store of the program: organisation "Quorvane", no application part
// (~/.config/Quorvane.conf; XDG_CONFIG_HOME moves it). Reading never creates the file.
namespace UserSettings
{

std::unique_ptr<QSettings> open();

} // namespace UserSettings
