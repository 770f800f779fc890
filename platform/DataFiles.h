// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

// The program's data files (sounds, skins, pictures): TESSALOOM_DATA_DIR when set, else the
// share/tessaloom folder beside the program's own folder (in the build tree as when installed).
namespace DataFiles {

QString folder();
QString path(const QString &fileName); // in folder(); the file may not exist
// The copy of a picture drawn for a screen of that many pixels per point: "name@2x.png" beside
// "name.png" for 2 (the naming Qt's own loaders know); the picture itself for 1.
QString path(const QString &fileName, int scale);

} // namespace DataFiles
