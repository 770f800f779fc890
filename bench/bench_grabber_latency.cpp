// SPDX-License-Identifier: GPL-2.0-or-later
// The frame grabber's latencies on a 59 s MPEG-2 program stream and a 59 s MJPEG AVI, made with
// ffmpeg in a temporary folder: open, first frame, the background count, a jump to a far frame
// (while counting, and from the key-frame index after), a step forward and a step back, each as a
// ratio against ffmpeg seeking the same frame (`ffmpeg -ss T -i movie -frames:v 1 -f null -`, timed as
// a whole process), and the longest stall of the window's event loop while the fetcher jumps (a 5 ms
// timer on the main thread). Goals: a jump within 300 ms, a step within one frame's time, no stall
// over 100 ms. Use a Release build:
//     cmake --build build-bench -j2 --target bench_grabber_latency
//     build-bench/bench/bench_grabber_latency [JUMPS=5]
#include "platform/MovieFrameFetcher.h"
#include "platform/MovieFrameGrabber.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace
{

class Heartbeat
{
public:
    Heartbeat()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout,
                         [this] { m_longest = qMax(m_longest, m_clock.restart()); });
    }
    void restart()
    {
        m_longest = 0;
        m_clock.start();
        m_timer.start();
    }
    qint64 longest() const { return qMax(m_longest, m_clock.elapsed()); }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};

double median(QList<double> values)
{
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// Runs the event loop until done() holds; the milliseconds it took, -1 after limitMs.
double runUntil(const std::function<bool()> &done, int limitMs = 60'000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > limitMs)
            return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    }
    return double(clock.nsecsElapsed()) / 1e6;
}

bool make(const QString &path, const QStringList &codec)
{
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ffmpeg.start(QStringLiteral("ffmpeg"), QStringList{"-hide_banner", "-loglevel", "error", "-y", "-f",
                                                       "lavfi", "-i", "testsrc2=s=720x576:r=25:d=59"} +
                                               codec + QStringList{path});
    return ffmpeg.waitForFinished(600'000) && ffmpeg.exitCode() == 0;
}

double ffmpegSeekMs(const QString &path, double seconds)
{
    QElapsedTimer clock;
    clock.start();
    const int code = QProcess::execute(QStringLiteral("ffmpeg"), {"-hide_banner", "-loglevel", "error", "-ss",
                                                                  QString::number(seconds, 'f', 3), "-i",
                                                                  path, "-frames:v", "1", "-f", "null", "-"});
    return code == 0 ? double(clock.nsecsElapsed()) / 1e6 : -1;
}

void line(const char *what, double ms, double reference, const char *goal = "")
{
    std::printf("  %-34s %8.1f ms   ratio to ffmpeg %6.2f   %s\n", what, ms, ms / reference, goal);
}

void benchMovie(const QString &path, const char *title, int jumps)
{
    std::printf("%s\n", title);
    // The grabber alone, as the open answers: open, then the first frame.
    QElapsedTimer clock;
    MovieFrameGrabber grabber;
    QString error;
    clock.start();
    if (!grabber.open(path, &error)) {
        std::printf("  cannot open: %s\n", qPrintable(error));
        return;
    }
    const double openMs = double(clock.nsecsElapsed()) / 1e6;
    clock.restart();
    const QImage first = grabber.frameAt(0, &error);
    const double firstMs = double(clock.nsecsElapsed()) / 1e6;
    const double fps = grabber.framesPerSecond();
    grabber.close();

    MovieFrameFetcher fetcher;
    Heartbeat beat;
    bool opened = false;
    qint64 count = 0;
    quint64 awaited = 0;
    bool answered = false;
    QObject::connect(&fetcher, &MovieFrameFetcher::opened,
                     [&](quint64, const MovieFacts &facts, const QImage &, const QString &) {
                         opened = true;
                         count = facts.frameCount;
                     });
    QObject::connect(&fetcher, &MovieFrameFetcher::fetched,
                     [&](quint64 request, qint64, const QImage &frame, const QString &) {
                         if (request == awaited)
                             answered = !frame.isNull();
                     });
    qint64 counted = 0;
    QObject::connect(&fetcher, &MovieFrameFetcher::counted,
                     [&](quint64, qint64 frames, const QString &) { counted = frames; });
    const auto fetchMs = [&](qint64 n) {
        answered = false;
        awaited = fetcher.fetch(n);
        return runUntil([&] { return answered; });
    };

    beat.restart();
    clock.restart();
    fetcher.open(path);
    const double openedMs = runUntil([&] { return opened; });
    // A far jump asked for at once, before the frames are counted.
    const qint64 estimate = count;
    const double countingJumpMs = fetchMs(estimate * 95 / 100);
    runUntil([&] { return counted > 0; }, 300'000);
    const double countedMs = double(clock.nsecsElapsed()) / 1e6;

    QList<double> jumpMs;
    QList<double> forwardMs;
    QList<double> backMs;
    QList<double> ffmpegMs;
    QList<qint64> targets;
    for (int j = 0; j < jumps; ++j) {
        // Far frames spread over the movie, none on a key frame of its own.
        const qint64 n = qBound<qint64>(1, counted * (95 - 17 * j % 90) / 100 + 7, counted - 2);
        jumpMs << fetchMs(n);
        forwardMs << fetchMs(n + 1);
        // Ten steps back: the first from the frames kept, the later ones from the key frame before.
        for (qint64 back = n; back > n - 10 && back > 0; --back)
            backMs << fetchMs(back);
        targets << n;
    }
    const qint64 stallMs = beat.longest();
    // Outside the stall's watch: the process is waited for on this thread.
    for (qint64 n : targets)
        ffmpegMs << ffmpegSeekMs(path, double(n) / fps);
    const double reference = median(ffmpegMs);
    const double frameMs = 1000.0 / fps;
    std::printf("  frames: %lld estimated at open, %lld counted; ffmpeg -ss seek (median of %d): %.1f ms\n",
                static_cast<long long>(estimate), static_cast<long long>(counted), jumps, reference);
    line("open (grabber)", openMs, reference);
    line("first frame after open", firstMs, reference);
    line("open to first frame (fetcher)", openedMs, reference);
    line("open to exact count (background)", countedMs, reference);
    line("far jump while counting", countingJumpMs, reference, "goal 300 ms");
    line("far jump, indexed (median)", median(jumpMs), reference, "goal 300 ms");
    line("far jump, indexed (longest)", *std::max_element(jumpMs.cbegin(), jumpMs.cend()), reference,
         "goal 300 ms");
    const QByteArray frameGoal =
        QByteArray("goal ") + QByteArray::number(frameMs, 'f', 0) + " ms (one frame)";
    line("step forward (median)", median(forwardMs), reference, frameGoal.constData());
    line("step back (median of 10 a jump)", median(backMs), reference, frameGoal.constData());
    line("step back (longest)", *std::max_element(backMs.cbegin(), backMs.cend()), reference,
         frameGoal.constData());
    std::printf("  %-34s %8lld ms   ratio to goal   %6.2f   goal 100 ms\n", "longest stall of the event loop",
                static_cast<long long>(stallMs), double(stallMs) / 100.0);
    if (first.isNull())
        std::printf("  the first frame did not decode: %s\n", qPrintable(error));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int jumps = argc > 1 ? qMax(1, QString::fromLocal8Bit(argv[1]).toInt()) : 5;
    QTemporaryDir dir;
    const QString mpg = dir.filePath(QStringLiteral("movie.mpg"));
    const QString avi = dir.filePath(QStringLiteral("movie.avi"));
    std::printf("making the movies with ffmpeg...\n");
    std::fflush(stdout);
    if (!make(mpg, {"-c:v", "mpeg2video", "-b:v", "6M", "-g", "15", "-f", "vob"}) ||
        !make(avi, {"-c:v", "mjpeg", "-q:v", "3", "-pix_fmt", "yuvj420p"})) {
        std::fprintf(stderr, "ffmpeg could not make the movies\n");
        return 1;
    }
    benchMovie(mpg, "59 s MPEG-2 program stream, 720x576, key frame every 15", jumps);
    benchMovie(avi, "59 s MJPEG AVI, 720x576", jumps);
    return 0;
}
