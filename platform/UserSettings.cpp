// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/UserSettings.h"

#include <QSettings>

namespace UserSettings
{

std::unique_ptr<QSettings> open()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Quorvane"));
}

} // namespace UserSettings
