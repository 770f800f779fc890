// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The pictures a movie page shows, one beside each movie (Clip.avi gives Clip.jpg): which movies have
// none yet. Shared by the Create button and `tessaloom-page --posters missing`; the pictures are made
// by MovieFrameSave::saveFrameOf.
namespace PosterMaking
{

// Whether the picture of the movie name (a bare name in folder) is missing: neither a file nor a link
// stands at its name.
bool pictureIsMissing(const QString &folder, const QString &name);

// The full paths of the movies among names (bare names in folder) whose picture is missing: neither a
// file nor a link stands at its name.
QStringList moviesWithoutPicture(const QString &folder, const QStringList &names);

} // namespace PosterMaking
