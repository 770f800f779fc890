#include "app/MoviePosters.h"

#include "app/PageMakerRun.h"

#include "core/FolderListing.h"
#include "generator/PosterMaking.h"
#include "platform/MovieFrameGrabber.h"

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
    for (const QString &movie : PosterMaking::moviesWithoutPicture(folder, listing.names)) {
        const PosterMaking::Made made = PosterMaking::makePicture(movie, &MovieFrameGrabber::frameAtTenth);
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
