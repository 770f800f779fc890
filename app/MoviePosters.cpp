// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/MoviePosters.h"

#include "app/PageMakerRun.h"

#include "core/FolderListing.h"
#include "generator/PosterMaking.h"
#include "media/PictureMeasure.h"
#include "platform/MovieFrameGrabber.h"
#include "viewing/MovieFrameSave.h"

PosterCounts makeMissingPosters(const QString &folder, MediaKind kind, QTextStream &out, QTextStream &err)
{
    PosterCounts counts;
    const MediaKindInfo *info = MediaKinds::info(kind);
    if (!info || !MediaKinds::isMovieKind(kind))
        return counts;
    const FolderListing listing = listFolder(folder, QString::fromLatin1(info->masks));
    if (!listing.error.isEmpty()) {
        err << kPageMakerName << ": " << listing.error << Qt::endl;
        ++counts.failed;
        return counts;
    }
    // One pass over the folder: a movie without a picture is queued, a picture already there is
    // never replaced, and a file there that is no picture is told, since the page cannot show the movie.
    QStringList movies;
    for (const QString &name : listing.names) {
        const QString movie = JoinFolderFile(folder, name);
        if (PosterMaking::pictureIsMissing(folder, name)) {
            movies << movie;
            continue;
        }
        const QString picture = MovieFrameSave::picturePathOf(movie);
        if (!measureJpeg(picture).ok) {
            err << kPageMakerName << ": "
                << QStringLiteral("The picture of the movie %1, %2, is not a picture.").arg(movie, picture)
                << Qt::endl;
            ++counts.failed;
        }
    }
    for (const QString &movie : movies) {
        const MovieFrameSave::Result made =
            MovieFrameSave::saveFrameOf(movie, &MovieFrameGrabber::frameAtTenth);
        if (made.ok()) {
            out << QStringLiteral("%1 was created.").arg(made.path) << Qt::endl;
            ++counts.made;
        } else {
            err << kPageMakerName << ": " << made.error << Qt::endl;
            ++counts.failed;
        }
    }
    return counts;
}
