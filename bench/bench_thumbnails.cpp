// SPDX-License-Identifier: GPL-2.0-or-later
// Times the thumbnail maker over a folder of pictures in one process, as a person's run would make them,
// and measures thumbnail quality: PSNR of a tool's thumbnails against reference pictures.
//
//   bench_thumbnails make <folder> <percent-index>     makes sm_ thumbnails of every .jpg there
//   bench_thumbnails pixels <folder> <percent-index> <out-dir>   the same thumbnails as PNG, before
//        encoding, to weigh the scaling alone
//   bench_thumbnails psnr <reference-dir> <out-dir> <out-pattern>
//        for every reference/NAME.png compares out-dir/pattern(NAME) ("%s" stands for NAME)
//   bench_thumbnails embed <in.jpg> <p3|adobe|prophoto|cmyk> <out.jpg>
//        the picture with a colour profile of that kind embedded (cmyk: for a CMYK picture)

#include "core/PageOptions.h"
#include "media/PictureFile.h"
#include "generator/RunFeedback.h"
#include "generator/ThumbnailMaker.h"
#include "generator/ThumbnailRender.h"
#include "support/ColourFixtures.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>

#include <cmath>
#include <cstdio>

namespace
{

class CountingFeedback final : public SilentFeedback
{
public:
    void showMessage(const QString &text) override
    {
        ++failures;
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    int failures = 0;
};

int make(const QString &folder, int percentIndex)
{
    QStringList names = QDir(folder).entryList({"*.jpg"}, QDir::Files, QDir::Name);
    names.erase(
        std::remove_if(names.begin(), names.end(), [](const QString &n) { return n.startsWith("sm_"); }),
        names.end());
    PageOptions options;
    options.setThumbnailer(true);
    options.choosePercent(percentIndex);
    CountingFeedback feedback;
    QElapsedTimer timer;
    timer.start();
    MakeThumbnails(folder, names, options, feedback);
    const double ms = timer.nsecsElapsed() / 1e6;
    std::printf("pictures %lld  total %.1f ms  per picture %.2f ms  failures %d\n", qlonglong(names.size()),
                ms, names.isEmpty() ? 0.0 : ms / names.size(), feedback.failures);
    return feedback.failures == 0 ? 0 : 1;
}

int savePixels(const QString &folder, int percentIndex, const QString &outDir)
{
    const ThumbnailRequest request{0, 0, PageOptions::percentDivisor(percentIndex)};
    for (const QString &name : QDir(folder).entryList({"*.jpg"}, QDir::Files, QDir::Name)) {
        QString error;
        const QByteArray file = readPictureFile(QDir(folder).filePath(name), kMaxPictureFileBytes, &error);
        const RgbImage rgb = thumbnailPixels(file, request, &error);
        const QImage image(rgb.pixels.data(), rgb.width, rgb.height, rgb.width * 3, QImage::Format_RGB888);
        if (rgb.pixels.empty() || !image.save(QDir(outDir).filePath(name.left(name.size() - 4) + ".png"))) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(name), qPrintable(error));
            return 1;
        }
    }
    return 0;
}

double psnr(const QImage &a, const QImage &b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb *pa = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const QRgb *pb = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const int dr = qRed(pa[x]) - qRed(pb[x]), dg = qGreen(pa[x]) - qGreen(pb[x]),
                      db = qBlue(pa[x]) - qBlue(pb[x]);
            sum += dr * dr + dg * dg + db * db;
        }
    }
    const double mse = sum / (3.0 * a.width() * a.height());
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

int comparePsnr(const QString &refDir, const QString &outDir, const QString &pattern)
{
    double total = 0;
    int count = 0;
    for (const QString &ref : QDir(refDir).entryList({"*.png"}, QDir::Files, QDir::Name)) {
        const QString base = ref.left(ref.size() - 4);
        const QImage a = QImage(QDir(refDir).filePath(ref)).convertToFormat(QImage::Format_RGB32);
        const QImage b = QImage(QDir(outDir).filePath(QString(pattern).replace("%s", base)))
                             .convertToFormat(QImage::Format_RGB32);
        if (a.isNull() || b.isNull() || a.size() != b.size()) {
            std::fprintf(stderr, "missing or wrong size: %s\n", qPrintable(base));
            return 2;
        }
        total += psnr(a, b);
        ++count;
    }
    std::printf("psnr %.3f dB over %d pictures\n", count ? total / count : 0.0, count);
    return count ? 0 : 2;
}

// Puts the profile in APP2 chunks right after the start of the picture; the scans stay as they are.
int embedProfile(const QString &in, const QString &kind, const QString &out)
{
    using ColourFixtures::Profile;
    const Profile profile = kind == "p3"         ? Profile::DisplayP3
                            : kind == "adobe"    ? Profile::AdobeRgb
                            : kind == "prophoto" ? Profile::ProPhoto
                                                 : Profile::Cmyk;
    const QByteArray icc = ColourFixtures::profile(profile);
    QFile source(in);
    if (icc.isEmpty() || !source.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray jpeg = source.readAll();
    QByteArray segments;
    constexpr qsizetype kChunk = 65519;
    const int count = int((icc.size() + kChunk - 1) / kChunk);
    for (int i = 0; i < count; ++i) {
        const QByteArray body =
            QByteArray("ICC_PROFILE", 12) + char(i + 1) + char(count) + icc.mid(i * kChunk, kChunk);
        const int length = int(body.size()) + 2;
        segments += QByteArray("\xFF\xE2", 2) + char(length >> 8) + char(length & 0xFF) + body;
    }
    QFile target(out);
    return target.open(QIODevice::WriteOnly) && target.write(jpeg.left(2) + segments + jpeg.mid(2)) > 0 ? 0
                                                                                                        : 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == "make")
        return make(args[2], args[3].toInt());
    if (args.size() == 5 && args[1] == "pixels")
        return savePixels(args[2], args[3].toInt(), args[4]);
    if (args.size() == 5 && args[1] == "psnr")
        return comparePsnr(args[2], args[3], args[4]);
    if (args.size() == 5 && args[1] == "embed")
        return embedProfile(args[2], args[3], args[4]);
    std::fprintf(stderr, "usage: %s make <folder> <percent-index> | psnr <ref-dir> <out-dir> <pattern>\n",
                 argv[0]);
    return 2;
}
