#include "app/MoviePosters.h"

#include "app/PageMakerRun.h"

#include "core/FolderListing.h"
#include "media/PictureMeasure.h"
#include "platform/MovieFrameGrabber.h"
#include "viewing/MovieFrameSave.h"

#include <QFileInfo>

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
    MovieFrameGrabber grabber;
    for (const QString &name : listing.names) {
        const QString movie = JoinFolderFile(folder, name);
        const QString picture = MovieFrameSave::picturePathOf(movie);
        if (QFileInfo(picture).exists() || QFileInfo(picture).isSymLink()) {
            // It has its picture already, never replaced; a file there that is no picture is told,
            // since the page cannot show the movie.
            if (!measureJpeg(picture).ok) {
                err << kPageMakerName << ": "
                    << QStringLiteral("The picture of the movie %1, %2, is not a picture.")
                           .arg(movie, picture)
                    << Qt::endl;
                ++counts.failed;
            }
            continue;
        }
        QString reason;
        QImage frame;
        if (grabber.open(movie, &reason))
            frame = grabber.frameAt(grabber.frameCount() / 10, &reason);
        grabber.close();
        if (frame.isNull()) {
            err << kPageMakerName << ": " << QStringLiteral("%1 cannot be played: %2").arg(movie, reason)
                << Qt::endl;
            ++counts.failed;
            continue;
        }
        const MovieFrameSave::Result saved = MovieFrameSave::save(frame, movie, SafeFile::Replace::Never);
        if (saved.ok()) {
            out << QStringLiteral("%1 was created.").arg(saved.path) << Qt::endl;
            ++counts.made;
        } else {
            err << kPageMakerName << ": " << saved.error << Qt::endl;
            ++counts.failed;
        }
    }
    return counts;
}
