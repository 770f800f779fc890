// SPDX-License-Identifier: GPL-2.0-or-later
#include "generator/PosterMaking.h"

#include "core/MediaKinds.h"
#include "generator/PageBuilder.h"

#include <QDir>
#include <QFileInfo>

namespace PosterMaking
{

bool pictureIsMissing(const QString &folder, const QString &name)
{
    const QFileInfo picture(QDir(folder).filePath(MoviePictureName(name)));
    return !picture.exists() && !picture.isSymLink();
}

QStringList moviesWithoutPicture(const QString &folder, const QStringList &names)
{
    QStringList movies;
    for (const QString &name : names)
        if (pictureIsMissing(folder, name))
            movies << JoinFolderFile(folder, name);
    return movies;
}

} // namespace PosterMaking
