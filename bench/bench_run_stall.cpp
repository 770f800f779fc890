// SPDX-License-Identifier: GPL-2.0-or-later
// How long the event loop waits during a generation run over many pictures, and the run's time
// against the command-line maker's. The run lets window events run only through letEventsRun, so
// the longest gap between two of those calls is the longest stall a person would feel.
//
//   bench_run_stall [PICTURES=500] [WIDTH=1600] [HEIGHT=1200]
#include "core/MainState.h"
#include "core/MediaListing.h"
#include "core/PageOptions.h"
#include "generator/FolderRows.h"
#include "generator/GenerationRun.h"
#include "generator/GenerationUi.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Answers nothing, shows nothing; measures the gaps between letEventsRun calls.
class StallMeter final : public GenerationUi
{
public:
    qint64 longestGapMs = 0;
    int calls = 0;

    void start() { m_clock.start(); }
    void letEventsRun() override
    {
        longestGapMs = qMax(longestGapMs, m_clock.restart());
        ++calls;
    }
    void progressSetMaximum(int) override {}
    void progressShow() override {}
    void progressStep() override {}
    void showMessage(const QString &text) override { std::printf("  message: %s\n", qPrintable(text)); }
    void showErrorBox(const QString &text) override { std::printf("  error: %s\n", qPrintable(text)); }
    void playSound(const QString &) override {}
    NameDialogAnswer askPageName() override { return {}; }
    void showWarningBox(const QString &text) override { showErrorBox(text); }
    bool confirmOverwrite(const QString &, const std::function<QString()> &write) override
    {
        return write().isEmpty();
    }
    void selectFirstFileListRow() override {}
    void hideViewer() override {}
    void createHiddenViewer() override {}
    void closeViewer() override {}
    void progressCreate() override {}
    bool progressIsShown() const override { return false; }
    void progressClose() override {}
    void preview() override {}

private:
    QElapsedTimer m_clock;
};

// Camera-like pictures: gradients, shapes and noise, so they compress like photographs.
void makePictures(const QString &folder, int count, int width, int height)
{
    QRandomGenerator random(20261210);
    for (int i = 0; i < count; ++i) {
        QImage image(width, height, QImage::Format_RGB32);
        QPainter painter(&image);
        QLinearGradient sky(0, 0, width, height);
        sky.setColorAt(0, QColor::fromHsv(int(random.bounded(360)), 120, 230));
        sky.setColorAt(1, QColor::fromHsv(int(random.bounded(360)), 200, 90));
        painter.fillRect(image.rect(), sky);
        for (int s = 0; s < 40; ++s) {
            painter.setBrush(QColor::fromHsv(int(random.bounded(360)), 180, int(random.bounded(256))));
            painter.drawEllipse(QPoint(int(random.bounded(width)), int(random.bounded(height))),
                                int(random.bounded(width / 6)) + 4, int(random.bounded(height / 6)) + 4);
        }
        painter.end();
        for (int y = 0; y < height; ++y) {
            auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const int n = int(random.bounded(24)) - 12;
                const QRgb p = row[x];
                row[x] = qRgb(qBound(0, qRed(p) + n, 255), qBound(0, qGreen(p) + n, 255),
                              qBound(0, qBlue(p) + n, 255));
            }
        }
        image.save(QDir(folder).filePath(QStringLiteral("photo%1.jpg").arg(i, 4, 10, QLatin1Char('0'))), "JPEG",
                   92);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 500;
    const int width = argc > 2 ? std::atoi(argv[2]) : 1600;
    const int height = argc > 3 ? std::atoi(argv[3]) : 1200;

    QTemporaryDir dir;
    std::printf("Making %d pictures of %dx%d...\n", count, width, height);
    makePictures(dir.path(), count, width, height);

    // The window's run: Create under kind 3, thumbnails at 50%, no name dialog, no preview.
    PageOptions options;
    options.setShownamebox(false);
    options.setPreviewit(false);
    FolderRows rows(dir.path());
    MainState state;
    MediaListing listing(rows, options, state);
    listing.setCurrentFolder(dir.path());
    listing.chooseKind(mkJpg);
    StallMeter meter;
    GenerationRun run(listing, options, state, meter, nullptr, [](const QString &) { return QString(); });
    QElapsedTimer clock;
    clock.start();
    meter.start();
    run.WebButtonClick();
    const qint64 runMs = clock.elapsed();

    // The command-line maker over the same folder, replacing that page.
    const QString maker = QCoreApplication::applicationDirPath() + QStringLiteral("/../app/tessaloom-page");
    clock.restart();
    const int exitCode =
        QProcess::execute(maker, {dir.path(), QStringLiteral("jpg"), QStringLiteral("--overwrite")});
    const qint64 makerMs = clock.elapsed();

    std::printf("\nPictures                          %d\n", count);
    std::printf("Event-loop turns during the run   %d\n", meter.calls);
    std::printf("Longest stall of the event loop   %lld ms (goal: under 100 ms per picture)\n",
                static_cast<long long>(meter.longestGapMs));
    std::printf("Window's run, whole               %lld ms (%.1f ms per picture)\n",
                static_cast<long long>(runMs), double(runMs) / count);
    std::printf("Command-line maker, whole         %lld ms (exit %d)\n", static_cast<long long>(makerMs),
                exitCode);
    std::printf("Ratio run / command line          %.2f\n", makerMs > 0 ? double(runMs) / makerMs : 0.0);
    return 0;
}
