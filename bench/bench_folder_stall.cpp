// SPDX-License-Identifier: GPL-2.0-or-later
// How long the main window's event loop stalls over a big folder, and how soon its working list and
// count caption are complete. A 5 ms heartbeat timer runs on the window's thread; the longest gap
// between two beats is the longest stall a person would feel (goal: under 100 ms); on a busy machine
// that includes waiting for a processor, so the window's own share is printed beside it: the longest
// processor time its thread spent on one event. The working list must be complete within 2 s of
// choosing the folder.
//
//   bench_folder_stall [FILES=100000] [COPIED=1000]
#include "core/MediaListing.h"
#include "core/PageOptions.h"
#include "ui/FileListView.h"
#include "ui/kit/PictureButton.h"
#include "ui/Scanner.h"
#include "ui/ScannerControls.h"
#include "ui/kit/ShadowText.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

namespace
{

// Camera-like names, mixed kinds and letter cases, as a card dumped into one folder looks.
QString cameraName(int i)
{
    static const char *const stems[] = {"IMG_", "DSC", "P", "clip", "voice", "song"};
    static const char *const exts[] = {".JPG", ".jpg", ".gif", ".wav", ".mp3",  ".AVI", ".mpg", ".txt",
                                       ".JPG", ".jpg", ".JPG", ".mid", ".jpeg", ".GIF", ".Jpg", ".THM"};
    return QString::fromLatin1(stems[i % 6]) + QString::number(i) + QString::fromLatin1(exts[(i / 7) % 16]);
}

void makeFiles(const QString &folder, int first, int count, const char *suffix = "")
{
    for (int i = first; i < first + count; ++i) {
        const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + cameraName(i)) + suffix;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            [[maybe_unused]] const ssize_t written = ::write(fd, path.constData(), size_t(i % 97));
            ::close(fd);
        }
    }
}

int countOfKind(int files, const QStringList &exts)
{
    int n = 0;
    for (int i = 0; i < files; ++i)
        for (const QString &ext : exts)
            n += cameraName(i).endsWith(ext, Qt::CaseInsensitive) ? 1 : 0;
    return n;
}

qint64 threadCpuUs()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

// The window's own share of a stall, whatever else the machine runs: the longest processor time its
// thread spends on one event (or on one step the bench runs directly).
class TimedApplication final : public QApplication
{
public:
    using QApplication::QApplication;
    static inline qint64 longestUs = 0;

    bool notify(QObject *receiver, QEvent *event) override
    {
        // Events of other threads (the folder feed's) pass here too: only the window's thread counts.
        if (m_depth > 0 || QThread::currentThread() != thread())
            return QApplication::notify(receiver, event);
        ++m_depth;
        const qint64 start = threadCpuUs();
        const bool result = QApplication::notify(receiver, event);
        longestUs = qMax(longestUs, threadCpuUs() - start);
        --m_depth;
        return result;
    }

private:
    int m_depth = 0;
};

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

struct Phase {
    qint64 stallMs = 0;
    qint64 cpuMs = 0;
    qint64 doneMs = -1;
};

// Runs the step, then the event loop until the check holds (or the time is up).
Phase measure(Heartbeat &beat, const std::function<void()> &step, const std::function<bool()> &done,
              int limitMs = 60000)
{
    QElapsedTimer clock;
    clock.start();
    beat.restart();
    TimedApplication::longestUs = 0;
    const qint64 stepStart = threadCpuUs();
    step();
    TimedApplication::longestUs = threadCpuUs() - stepStart;
    Phase phase;
    while (clock.elapsed() < limitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
        if (done()) {
            phase.doneMs = clock.elapsed();
            break;
        }
    }
    // A little longer: late work after the list is complete stalls the window too.
    QElapsedTimer tail;
    tail.start();
    while (tail.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    phase.stallMs = beat.longest();
    phase.cpuMs = TimedApplication::longestUs / 1000;
    return phase;
}

void report(const char *what, const Phase &phase, bool completionGoal)
{
    std::printf("%-38s stall %5lld ms (ratio %5.2f), own %4lld ms (ratio %4.2f); complete %5lld ms", what,
                static_cast<long long>(phase.stallMs), double(phase.stallMs) / 100.0,
                static_cast<long long>(phase.cpuMs), double(phase.cpuMs) / 100.0,
                static_cast<long long>(phase.doneMs));
    if (completionGoal)
        std::printf(" (ratio %5.2f)", phase.doneMs < 0 ? 99.0 : double(phase.doneMs) / 2000.0);
    std::printf("%s\n", phase.doneMs < 0 ? "  NOT COMPLETE" : "");
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    TimedApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Tessaloom 2001"));
    const int files = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int copied = argc > 2 ? std::atoi(argv[2]) : 1000;

    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    QTemporaryDir dir;
    std::printf("Making %d files...\n", files);
    makeFiles(dir.path(), 0, files);
    const int pictures = countOfKind(files, {QStringLiteral(".jpg"), QStringLiteral(".gif")});
    const int jpgs = countOfKind(files, {QStringLiteral(".jpg")});
    const int wavs = countOfKind(files, {QStringLiteral(".wav")});
    const int addedPictures =
        countOfKind(files + copied, {QStringLiteral(".jpg"), QStringLiteral(".gif")}) - pictures;

    PageOptions options;
    TMainForm form(options);
    form.show();
    form.Timer1Timer(); // kind 1 over the start folder
    const MediaListing &listing = form.listing();
    FileListView *list = form.controls().FileListBoxSH;
    const auto complete = [&](const char *caption, int count) {
        const QString label = QStringLiteral("%1 %2").arg(QLatin1String(caption)).arg(count);
        return listing.FileListBox().size() == count && form.controls().ListLabel->text() == label;
    };
    Heartbeat beat;
    measure(
        beat, [] {}, [] { return false; }, 1000);

    std::printf(
        "\nFiles in the folder %d (GIF/JPG %d, JPG %d, WAV %d); goals: stall 100 ms, complete 2 s\n\n", files,
        pictures, jpgs, wavs);
    report("Choose the folder (kind GIF/JPG)",
           measure(
               beat, [&] { form.selectFolder(dir.path()); },
               [&] { return complete("GIF/JPG List:", pictures); }),
           true);
    const struct {
        const char *what;
        int code;
        const char *caption;
        int count;
    } kindChanges[] = {{"Change kind to JPG", mkJpg, "JPG List:", jpgs},
                       {"Change kind to WAV", mkWav, "WAV List:", wavs},
                       {"Change kind to GIF/JPG", mkGifJpg, "GIF/JPG List:", pictures}};
    for (const auto &change : kindChanges)
        report(change.what,
               measure(
                   beat, [&] { form.controls().kindButtons[change.code - 1]->click(); },
                   [&] { return complete(change.caption, change.count); }),
               false);
    const QString firstByName = listing.FileListBox().value(0);
    report("Re-sort by name, descending",
           measure(
               beat, [&] { list->sortByColumn(0, Qt::DescendingOrder); },
               [&] {
                   return listing.FileListBox().size() == pictures &&
                          listing.FileListBox().last() == firstByName;
               }),
           false);
    report("Re-sort by size",
           measure(
               beat, [&] { list->sortByColumn(1, Qt::AscendingOrder); },
               [&] {
                   return listing.FileListBox().size() == pictures &&
                          QFileInfo(dir.filePath(listing.FileListBox().first())).size() == 0;
               }),
           false);
    report("Re-sort by name, ascending",
           measure(
               beat, [&] { list->sortByColumn(0, Qt::AscendingOrder); },
               [&] { return listing.FileListBox().value(0) == firstByName; }),
           false);

    // Another program copies files in while the folder is shown, then they are deleted again.
    QThread *copier = nullptr;
    report(qPrintable(QStringLiteral("%1 files copied in while shown").arg(copied)),
           measure(
               beat,
               [&] {
                   copier = QThread::create([&] { makeFiles(dir.path(), files, copied); });
                   copier->start();
               },
               [&] { return complete("GIF/JPG List:", pictures + addedPictures); }),
           false);
    copier->wait();
    delete copier;
    report(qPrintable(QStringLiteral("%1 files deleted while shown").arg(copied)),
           measure(
               beat,
               [&] {
                   copier = QThread::create([&] {
                       for (int i = files; i < files + copied; ++i)
                           QFile::remove(dir.filePath(cameraName(i)));
                   });
                   copier->start();
               },
               [&] { return complete("GIF/JPG List:", pictures); }),
           false);
    copier->wait();
    delete copier;
    return 0;
}
