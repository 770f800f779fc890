#include "generator/PosterMaking.h"

#include "core/MediaKinds.h"
#include "generator/MovieFrameSave.h"

#include <QFileInfo>

namespace PosterMaking
{

QStringList moviesWithoutPicture(const QString &folder, const QStringList &names)
{
    QStringList movies;
    for (const QString &name : names) {
        const QString movie = JoinFolderFile(folder, name);
        const QFileInfo picture(MovieFrameSave::picturePathOf(movie));
        if (!picture.exists() && !picture.isSymLink())
            movies << movie;
    }
    return movies;
}

Made makePicture(const QString &moviePath, const FrameSource &frames)
{
    QString reason;
    const QImage frame = frames(moviePath, &reason);
    if (frame.isNull())
        return {MovieFrameSave::picturePathOf(moviePath),
                QStringLiteral("%1 cannot be played: %2").arg(moviePath, reason)};
    const MovieFrameSave::Result saved = MovieFrameSave::save(frame, moviePath, SafeFile::Replace::Never);
    return {saved.path, saved.error};
}

} // namespace PosterMaking
