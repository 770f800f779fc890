#include "app/PageMakerRun.h"

#include "app/MoviePosters.h"
#include "app/PageMakerArgs.h"
#include "core/PageOptions.h"
#include "console/ConsolePageMaker.h"
#include "platform/MountTable.h"

#include <QFileInfo>

#include <unistd.h>

int runPageMaker(const PageMakerArgs &args, QTextStream &out, QTextStream &err)
{
    out.flush();
    err.flush();
    if (!QFileInfo(args.folder).isDir()) {
        err << kPageMakerName << ": " << QStringLiteral("%1 is not a folder.").arg(args.folder) << Qt::endl;
        return UsageError;
    }
    if (args.missingPosters && MediaKinds::isMovieKind(args.kind)) {
        const QString mountPoint = opticalMountPointOf(args.folder);
        if (!mountPoint.isEmpty()) {
            err << kPageMakerName << ": " << QStringLiteral("Can not write to CD ROM (%1)").arg(mountPoint)
                << Qt::endl;
        } else {
            const PosterCounts posters = makeMissingPosters(args.folder, args.kind, out, err);
            out << QStringLiteral("Movie pictures: %1 made, %2 failed.").arg(posters.made).arg(posters.failed)
                << Qt::endl;
        }
        out.flush();
        err.flush();
    }
    PageOptions options;
    // As at start-up, kind 1 is chosen first; then the kind asked for, then the options in order.
    options.mediaKindChanged(mkGifJpg);
    const auto edit = [&args](PageOptions &o) { applyPageEdits(args.edits, o); }; // tried when parsed
    ConsoleSettings settings;
    settings.programName = QString::fromLatin1(kPageMakerName);
    settings.progressLine = !args.quiet && ::isatty(STDERR_FILENO);
    ConsoleRunReport report;
    makePageOnConsole(args.folder, args.kind, options, args.overwrite, opticalMountPointOf, stdout, stderr,
                      edit, &report, settings);
    if (report.folderBusy)
        return FolderBusy;
    if (!report.written)
        return RunFailed;
    return report.failedThumbnails > 0 ? ThumbnailsFailed : PageCreated;
}
