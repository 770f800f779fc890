// SPDX-License-Identifier: GPL-2.0-or-later
// Times the picture header reading and the folder listing in this process, for the side-by-side
// comparison in run_headers_bench.sh.
//   bench_headers measure DIR        measure every .jpg/.gif of DIR once
//   bench_headers floor DIR          only open, fstat, read 4 KiB and close each of them: the least
//                                    any header reader must spend per file
//   bench_headers list DIR MASKS N   list DIR by MASKS N times
#include "core/FolderListing.h"
#include "media/PictureMeasure.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int measureAll(const QString &folder)
{
    const QStringList names = QDir(folder).entryList({"*.jpg", "*.gif"}, QDir::Files, QDir::Name);
    QElapsedTimer timer;
    timer.start();
    qint64 failures = 0, pixels = 0;
    for (const QString &name : names) {
        const QString path = folder + QLatin1Char('/') + name;
        const PictureSize size = name.endsWith(QLatin1String(".gif")) ? measureGif(path) : measureJpeg(path);
        failures += size.ok ? 0 : 1;
        pixels += qint64(size.width) * size.height;
    }
    const qint64 ns = timer.nsecsElapsed();
    std::printf("files %lld failures %lld pixels %lld total_ms %.3f per_file_us %.3f\n", qint64(names.size()),
                failures, pixels, ns / 1e6, names.isEmpty() ? 0.0 : ns / 1e3 / names.size());
    return failures == 0 ? 0 : 1;
}

int openReadClose(const QString &folder)
{
    const QStringList names = QDir(folder).entryList({"*.jpg", "*.gif"}, QDir::Files, QDir::Name);
    QList<QByteArray> paths;
    for (const QString &name : names)
        paths << QFile::encodeName(folder + QLatin1Char('/') + name);
    char buffer[4096];
    qint64 bytes = 0;
    QElapsedTimer timer;
    timer.start();
    for (const QByteArray &path : paths) {
        const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        struct stat st;
        if (fd < 0 || ::fstat(fd, &st) != 0)
            return 1;
        bytes += ::read(fd, buffer, sizeof buffer);
        ::close(fd);
    }
    const qint64 ns = timer.nsecsElapsed();
    std::printf("files %lld bytes %lld per_file_us %.3f\n", qint64(paths.size()), bytes,
                paths.isEmpty() ? 0.0 : ns / 1e3 / paths.size());
    return 0;
}

int listRepeatedly(const QString &folder, const QString &masks, int times)
{
    qint64 best = -1;
    qsizetype count = 0;
    for (int i = 0; i < times; ++i) {
        QElapsedTimer timer;
        timer.start();
        const FolderListing listing = listFolder(folder, masks);
        const qint64 ns = timer.nsecsElapsed();
        count = listing.names.size();
        if (best < 0 || ns < best)
            best = ns;
    }
    std::printf("names %lld best_ms %.3f\n", qint64(count), best / 1e6);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() >= 3 && args[1] == QLatin1String("measure"))
        return measureAll(args[2]);
    if (args.size() >= 3 && args[1] == QLatin1String("floor"))
        return openReadClose(args[2]);
    if (args.size() >= 4 && args[1] == QLatin1String("list"))
        return listRepeatedly(args[2], args[3], args.size() >= 5 ? args[4].toInt() : 1);
    std::fprintf(stderr, "usage: bench_headers measure DIR | floor DIR | list DIR MASKS [TIMES]\n");
    return 2;
}
