// SPDX-License-Identifier: GPL-2.0-or-later
// How long a large photo takes to appear in the viewer with "Fit to Window" on, against the floor:
// libjpeg-turbo's own decode at the same DCT scale (`djpeg -scale 1/D`, timed as a whole process).
//   bench_viewer_fit [WIDTH=4000] [HEIGHT=3000] [RUNS=9] [BOX=378x250]
// Makes a camera-like JPEG of WIDTH x HEIGHT in a temporary folder, then times, RUNS times each:
//   fitted  the viewer's load for a page of BOX (read, decode at the scale that covers the fitted
//           size, turn upright) plus the smooth scaling the display draws it with;
//   whole   the load at full size, as the viewer did before it could fit;
//   djpeg   djpeg -scale 1/D -outfile /dev/null at the scale the fitted load chose.
// Prints each median and the ratio fitted / djpeg (goal: at most 1.5), in wall time and in processor
// time (this process's, djpeg's as its child), which a machine loaded by others disturbs less. Use a
// Release build.
#include "media/JpegCodec.h"
#include "viewing/ViewerLoad.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <random>
#include <vector>

namespace
{

// Smooth gradients, edges and sensor noise, so the coder has a camera's work to do.
RgbImage cameraLike(int width, int height)
{
    RgbImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(size_t(width) * size_t(height) * 3);
    std::mt19937 noise(7);
    for (int y = 0; y < height; ++y) {
        uint8_t *row = image.row(y);
        for (int x = 0; x < width; ++x) {
            const int n = int(noise() % 17) - 8;
            const bool stripe = ((x / 97) + (y / 61)) % 2 == 0;
            row[3 * x] = uint8_t(std::clamp(x * 255 / width + n, 0, 255));
            row[3 * x + 1] = uint8_t(std::clamp(y * 255 / height + n + (stripe ? 30 : 0), 0, 255));
            row[3 * x + 2] = uint8_t(std::clamp(128 + n - (stripe ? 40 : 0), 0, 255));
        }
    }
    return image;
}

struct Medians {
    double wallMs = -1;
    double cpuMs = -1;
};

double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double childrenCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval &t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The medians of RUNS calls of once; cpu tells whose processor time counts.
Medians medians(int runs, const std::function<double()> &cpu, const std::function<bool()> &once)
{
    std::vector<double> walls;
    std::vector<double> cpus;
    for (int i = 0; i < runs; ++i) {
        const double cpuBefore = cpu();
        QElapsedTimer timer;
        timer.start();
        if (!once())
            return {};
        walls.push_back(timer.nsecsElapsed() / 1e6);
        cpus.push_back(cpu() - cpuBefore);
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    return {walls[walls.size() / 2], cpus[cpus.size() / 2]};
}

// The DCT scale libjpeg chose: the denominator d of 1, 2, 4 or 8 whose ceil(width / d) it decoded to.
int scaleDenominator(int width, int decodedWidth)
{
    for (int d : {1, 2, 4, 8}) {
        if ((width + d - 1) / d == decodedWidth)
            return d;
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int width = args.size() > 1 ? args[1].toInt() : 4000;
    const int height = args.size() > 2 ? args[2].toInt() : 3000;
    const int runs = std::max(1, args.size() > 3 ? args[3].toInt() : 9);
    const QStringList boxText = (args.size() > 4 ? args[4] : QStringLiteral("378x250")).split('x');
    const QSize box(boxText.value(0).toInt(), boxText.value(1).toInt());

    QTemporaryDir dir;
    const QString path = dir.filePath("photo.jpg");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(encodeJpeg(cameraLike(width, height), 90)) <= 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    file.close();

    QSize decoded;
    const Medians fitted = medians(runs, processCpuMs, [&] {
        const ViewerPicture picture = loadViewerJpeg(path, box);
        if (!picture.ok)
            return false;
        decoded = picture.image.size();
        const QImage shown = picture.image.scaled(picture.fullSize.scaled(box, Qt::KeepAspectRatio),
                                                  Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return !shown.isNull();
    });
    const Medians whole = medians(runs, processCpuMs, [&] { return loadViewerJpeg(path).ok; });
    const int denominator = scaleDenominator(width, decoded.width());
    if (denominator == 0) {
        std::fprintf(stderr, "decoded %dx%d is no DCT scale of %dx%d\n", decoded.width(), decoded.height(),
                     width, height);
        return 1;
    }
    const QString scale = QStringLiteral("1/%1").arg(denominator);
    const Medians djpeg = medians(runs, childrenCpuMs, [&] {
        return QProcess::execute(QStringLiteral("djpeg"), {"-scale", scale, "-outfile", "/dev/null", path}) ==
               0;
    });
    if (fitted.wallMs < 0 || whole.wallMs < 0 || djpeg.wallMs < 0) {
        std::fprintf(stderr, "a load or djpeg failed\n");
        return 1;
    }
    std::printf("picture %dx%d  box %dx%d  decoded %dx%d (scale %s)\n", width, height, box.width(),
                box.height(), decoded.width(), decoded.height(), qPrintable(scale));
    std::printf("wall: fitted load %.1f ms  whole load %.1f ms  djpeg -scale %s %.1f ms (medians of %d)\n",
                fitted.wallMs, whole.wallMs, qPrintable(scale), djpeg.wallMs, runs);
    std::printf("cpu:  fitted load %.1f ms  whole load %.1f ms  djpeg -scale %s %.1f ms\n", fitted.cpuMs,
                whole.cpuMs, qPrintable(scale), djpeg.cpuMs);
    std::printf("ratio fitted/djpeg %.2f wall, %.2f cpu (goal <= 1.5)  whole/fitted %.1f wall\n",
                fitted.wallMs / djpeg.wallMs, fitted.cpuMs / djpeg.cpuMs, whole.wallMs / fitted.wallMs);
    return 0;
}
