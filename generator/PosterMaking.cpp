// SPDX-License-Identifier: GPL-2.0-or-later
#include "generator/PosterMaking.h"

#include "core/MediaKinds.h"
#include "generator/PageBuilder.h"

#include <QDir>
#include <QFileInfo>

namespace PosterMaking
{

QStringList moviesWithoutPicture(const QString &folder, const QStringList &names)
{
    QStringList movies;
    for (const QString &name : names) {
        const QString movie = JoinFolderFile(folder, name);
        const QFileInfo picture(QDir(folder).filePath(MoviePictureName(name)));
        if (!picture.exists() && !picture.isSymLink())
            movies << movie;
    }
    return movies;
}

} // namespace PosterMaking
