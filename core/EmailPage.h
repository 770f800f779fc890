// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// The small page behind the Options window's e-mail button: the browser loads it and its refresh
// starts a new message to the support address.
namespace EmailPage
{

inline constexpr const char *SupportAddress = "support@tessaloom.invalid";
inline constexpr const char *FileName = "email.htm";

// The page's three lines, each ended by CR LF.
QByteArray text(const QString &address = QString::fromLatin1(SupportAddress));

// Writes the page into the per-user data folder (created when missing); the program's own folder is
// not writable once installed. Returns the written path, or an empty text with *error naming the file
// and the reason.
QString write(const QString &dataFolder, QString *error);

} // namespace EmailPage
