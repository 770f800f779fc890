// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/PageMakerRun.h"

#include "app/MoviePosters.h"
#include "app/PageMakerArgs.h"
#include "core/PageOptions.h"
#include "console/ConsolePageMaker.h"
#include "platform/MountTable.h"

#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

int runPageMaker(const PageMakerArgs &args, QTextStream &out, QTextStream &err)
{
    out.flush();
    err.flush();
    if (!QFileInfo(args.folder).isDir()) {
        err << kPageMakerName << ": " << QStringLiteral("%1 is not a folder.").arg(args.folder) << Qt::endl;
        return UsageError;
    }
    // The movie pictures are written under the run's hold on the folder, as the page is: with another
    // run in the folder neither is made. The run refuses an optical disc before it takes the hold.
    // The run works from inside the folder: the pictures' folder is named whole before it enters.
    const QString folder = QFileInfo(args.folder).absoluteFilePath();
    std::function<void()> makePosters;
    if (args.missingPosters && MediaKinds::isMovieKind(args.kind)) {
        makePosters = [&] {
            std::fflush(stdout);
            std::fflush(stderr);
            const PosterCounts posters = makeMissingPosters(folder, args.kind, out, err);
            out << QStringLiteral("Movie pictures: %1 made, %2 failed.").arg(posters.made).arg(posters.failed)
                << Qt::endl;
            err.flush();
        };
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
                      edit, &report, settings, makePosters);
    if (report.folderBusy)
        return FolderBusy;
    if (!report.written)
        return RunFailed;
    return report.failedThumbnails > 0 ? ThumbnailsFailed : PageCreated;
}
