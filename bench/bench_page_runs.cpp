// SPDX-License-Identifier: GPL-2.0-or-later
// The command-line maker's run over a folder of JPG pictures, three ways, side by side:
//   full     thumbnails on, the old ones deleted and all made anew (the default run)
//   measure  what listing the folder and measuring its pictures cost, as the run does them
//   rerun    thumbnails on, the old ones kept: only what is not up to date is made
// Each prints its wall time, the cores it kept busy (CPU time / wall time) and, at the end, the
// process's peak memory. measure and rerun see the same folder, as the full run left it: its
// thumbnails are listed and measured too.
//
//   bench_page_runs <folder> <percent-index> [full|measure|rerun]...   (default: all three)
#include "core/FolderListing.h"
#include "core/MediaKinds.h"
#include "core/PageOptions.h"
#include "console/ConsolePageMaker.h"
#include "media/PictureMeasure.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>

#include <sys/resource.h>

namespace
{

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Lists the folder for kind JPG and measures every picture listed; false when one cannot be measured.
bool listAndMeasure(const QString &folder)
{
    bool ok = true;
    for (const QString &name : listFolder(folder, QString::fromLatin1(MediaKinds::info(mkJpg)->masks)).names)
        ok = measureJpeg(JoinFolderFile(folder, name)).ok && ok;
    return ok;
}

bool runOnce(const QString &folder, int percentIndex, const QString &how, double *wallSeconds)
{
    std::FILE *devNull = std::fopen("/dev/null", "w");
    PageOptions options;
    ConsoleRunReport report;
    const double cpuBefore = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    if (how == QLatin1String("measure"))
        report.written = listAndMeasure(folder);
    else
        makePageOnConsole(
            folder, mkJpg, options, true, [](const QString &) { return QString(); }, devNull, stderr,
            [&](PageOptions &o) {
                o.setThumbnailer(true);
                o.choosePercent(percentIndex);
                o.setDeleteThumbnail(how == QLatin1String("full"));
            },
            &report);
    *wallSeconds = timer.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds() - cpuBefore;
    std::fclose(devNull);
    std::printf("%-8s %8.3f s  %5.2f cores  failed thumbnails %d\n", qPrintable(how), *wallSeconds,
                *wallSeconds > 0 ? cpu / *wallSeconds : 0.0, report.failedThumbnails);
    return report.written && report.failedThumbnails == 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: %s <folder> <percent-index> [full|measure|rerun]...\n", argv[0]);
        return 2;
    }
    QStringList runs = args.mid(3);
    if (runs.isEmpty())
        runs = {"full", "measure", "rerun"};
    QHash<QString, double> seconds;
    bool ok = true;
    for (const QString &how : runs)
        ok = runOnce(args[1], args[2].toInt(), how, &seconds[how]) && ok;
    if (seconds.contains("measure") && seconds.contains("rerun"))
        std::printf("rerun / measure: %.2fx\n", seconds["rerun"] / seconds["measure"]);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory %ld MB\n", usage.ru_maxrss / 1024);
    return ok ? 0 : 1;
}
