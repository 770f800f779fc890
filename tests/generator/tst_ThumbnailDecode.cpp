// SPDX-License-Identifier: GPL-2.0-or-later
#include "media/DecodeBudget.h"
#include "media/ExifOrientation.h"
#include "media/JpegCodec.h"
#include "media/Resampler.h"
#include "generator/ThumbnailMarker.h"
#include "generator/ThumbnailRender.h"
#include "support/ThumbFixtures.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

#include <ctime>
#include <unistd.h>

using namespace ThumbFixtures;

namespace
{

class FixedScale final : public JpegScalePlanner
{
public:
    explicit FixedScale(int d) : m_d(d) {}
    int scaleDenominator(int, int) noexcept override { return m_d; }

private:
    int m_d;
};

class Collect final : public RgbRowSink
{
public:
    bool begin(int w, int h) noexcept override
    {
        image.width = w;
        image.height = h;
        image.pixels.clear();
        return true;
    }
    void addRow(const uint8_t *rgb) noexcept override
    {
        image.pixels.insert(image.pixels.end(), rgb, rgb + image.width * 3);
    }
    RgbImage image;
};

JpegDecodeResult decode(const QByteArray &data, RgbRowSink &sink, int denominator = 1,
                        const JpegLimits &limits = {})
{
    FixedScale scale(denominator);
    return decodeJpeg(reinterpret_cast<const uint8_t *>(data.constData()), size_t(data.size()), scale, sink,
                      limits);
}

long long threadCpuMicroseconds()
{
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1'000'000LL + ts.tv_nsec / 1000;
}

// Takes its time over every row: sleeping, as a decoder does while a busy machine runs others, or
// working, as a decoder does over a costly picture. Both are measured, so the load does not matter.
class PacedSink final : public RgbRowSink
{
public:
    PacedSink(bool working, int microsecondsPerRow) : m_working(working), m_perRow(microsecondsPerRow) {}
    bool begin(int, int) noexcept override { return true; }
    void addRow(const uint8_t *) noexcept override
    {
        if (!m_working) {
            ::usleep(useconds_t(m_perRow));
            return;
        }
        const long long until = threadCpuMicroseconds() + m_perRow;
        while (threadCpuMicroseconds() < until) {
        }
    }

private:
    bool m_working;
    int m_perRow;
};

RgbImage stripes(int width, int height) // alternating black and white columns
{
    RgbImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(size_t(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            std::fill_n(image.row(y) + x * 3, 3, uint8_t(x % 2 ? 255 : 0));
    return image;
}

RgbImage resample(const RgbImage &in, int w, int h, bool soften = false)
{
    Resampler r(w, h, soften);
    if (!r.begin(in.width, in.height))
        return {};
    for (int y = 0; y < in.height; ++y)
        r.addRow(in.row(y));
    return r.finish();
}

} // namespace

class TestThumbnailDecode : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsExifOrientation_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("orientation");
        for (int o = 1; o <= 8; ++o) {
            Jpeg how;
            how.orientation = o;
            QTest::addRow("Motorola %d", o) << jpeg(solidPicture({16, 8}, Qt::red), how) << o;
            how.bigEndianExif = false;
            QTest::addRow("Intel %d", o) << jpeg(solidPicture({16, 8}, Qt::red), how) << o;
        }
        QByteArray oddValue = jpeg(solidPicture({16, 8}, Qt::red), Jpeg{6});
        oddValue[oddValue.indexOf(QByteArray("\x01\x12\x00\x03", 4)) + 9] = 9; // not an orientation
        QTest::newRow("value 9 counts as upright") << oddValue << 1;
        QTest::newRow("no EXIF") << jpeg(solidPicture({16, 8}, Qt::red)) << 1;
        QTest::newRow("cut inside the EXIF block")
            << jpeg(solidPicture({16, 8}, Qt::red), Jpeg{6}).left(40) << 1;
        QTest::newRow("not a JPEG") << QByteArray("hello there, not a jpeg") << 1;
    }
    void readsExifOrientation()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, orientation);
        QCOMPARE(
            jpegFileOrientation(reinterpret_cast<const uint8_t *>(file.constData()), size_t(file.size())),
            orientation);
    }

    void shrinksOnLoadOnlyAsFarAsQualityAllows_data()
    {
        QTest::addColumn<QSize>("stored");
        QTest::addColumn<QSize>("target");
        QTest::addColumn<int>("denominator");
        QTest::newRow("50 %: the DCT hits it exactly") << QSize(4000, 3000) << QSize(2000, 1500) << 2;
        QTest::newRow("25 %: exactly") << QSize(4000, 3000) << QSize(1000, 750) << 4;
        QTest::newRow("10 %: at least twice the target") << QSize(4000, 3000) << QSize(400, 300) << 4;
        QTest::newRow("20 %") << QSize(4000, 3000) << QSize(800, 600) << 2;
        QTest::newRow("33 %: full decode") << QSize(4000, 3000) << QSize(1333, 1000) << 1;
        QTest::newRow("odd size, 50 %") << QSize(801, 601) << QSize(400, 300) << 2;
        QTest::newRow("tiny target") << QSize(4000, 3000) << QSize(100, 75) << 8;
        QTest::newRow("enlarging") << QSize(64, 48) << QSize(200, 100) << 1;
        QTest::newRow("one side squeezed") << QSize(4000, 3000) << QSize(100, 2000) << 1;
    }
    void shrinksOnLoadOnlyAsFarAsQualityAllows()
    {
        QFETCH(QSize, stored);
        QFETCH(QSize, target);
        QFETCH(int, denominator);
        QCOMPARE(chooseScaleDenominator(stored, target), denominator);
    }

    void filtersInsteadOfPickingPixels()
    {
        // Nearest-pixel sampling of 1-pixel stripes gives all black or all white; a filter gives grey.
        const RgbImage out = resample(stripes(400, 10), 100, 10);
        QCOMPARE(out.width, 100);
        for (int x = 5; x < 95; ++x)
            QVERIFY2(qAbs(int(out.row(5)[x * 3]) - 128) <= 6, qPrintable(QString::number(out.row(5)[x * 3])));
    }

    void softensOnlyWhatTheDctReduced()
    {
        const RgbImage in = stripes(16, 8);
        QCOMPARE(resample(in, 16, 8).pixels, in.pixels); // same size, nothing to do: kept exactly
        const RgbImage soft = resample(in, 16, 8, true);
        for (int x = 1; x < 15; ++x) { // the finest detail is rounded off, not removed
            const int v = soft.row(4)[x * 3];
            QVERIFY2(x % 2 ? (v > 180 && v < 250) : (v > 5 && v < 75), qPrintable(QString::number(v)));
        }
    }

    // CMYK inks are scaled before they become colours: each of four channels is filtered exactly as
    // any of three would be.
    void resamplesInksAsColours_data()
    {
        QTest::addColumn<QSize>("from");
        QTest::addColumn<QSize>("to");
        QTest::addColumn<bool>("soften");
        QTest::newRow("reduced") << QSize(97, 61) << QSize(23, 17) << false;
        QTest::newRow("reduced far") << QSize(300, 41) << QSize(29, 5) << false;
        QTest::newRow("reduced and softened") << QSize(64, 48) << QSize(31, 20) << true;
        QTest::newRow("same size, softened") << QSize(40, 30) << QSize(40, 30) << true;
        QTest::newRow("same size") << QSize(40, 30) << QSize(40, 30) << false;
    }
    void resamplesInksAsColours()
    {
        QFETCH(QSize, from);
        QFETCH(QSize, to);
        QFETCH(bool, soften);
        std::vector<uint8_t> inks(size_t(from.width() * from.height()) * 4);
        uint32_t seed = 12345;
        for (uint8_t &v : inks)
            v = uint8_t((seed = seed * 1103515245u + 12345u) >> 24);
        Resampler four(to.width(), to.height(), soften, 4);
        QVERIFY(four.begin(from.width(), from.height()));
        for (int y = 0; y < from.height(); ++y)
            four.addRow(inks.data() + size_t(y * from.width()) * 4);
        const std::vector<uint8_t> scaled = four.finishPixels();
        QCOMPARE(scaled.size(), size_t(to.width() * to.height()) * 4);
        for (const int skipped : {3, 0}) { // C, M, Y as RGB; then M, Y, K
            RgbImage three;
            three.width = from.width();
            three.height = from.height();
            for (size_t i = 0; i < inks.size(); i += 4)
                for (int c = 0; c < 4; ++c)
                    if (c != skipped)
                        three.pixels.push_back(inks[i + size_t(c)]);
            const RgbImage expected = resample(three, to.width(), to.height(), soften);
            for (size_t p = 0; p < size_t(to.width() * to.height()); ++p)
                for (int c = 0, k = 0; c < 4; ++c)
                    if (c != skipped)
                        QCOMPARE(scaled[p * 4 + size_t(c)], expected.pixels[p * 3 + size_t(k++)]);
        }
    }

    // A picture cut short: the rows that never came are black (no ink), the ones that did are kept, and
    // the resampler can be begun again for the next picture.
    void rowsNeverDeliveredStayBlack_data()
    {
        QTest::addColumn<QSize>("to");
        QTest::addColumn<int>("channels");
        QTest::newRow("same size") << QSize(40, 30) << 3;
        QTest::newRow("same size, inks") << QSize(40, 30) << 4;
        QTest::newRow("reduced") << QSize(20, 15) << 3;
    }
    void rowsNeverDeliveredStayBlack()
    {
        QFETCH(QSize, to);
        QFETCH(int, channels);
        const QSize from(40, 30);
        const std::vector<uint8_t> white(size_t(from.width() * channels), 255);
        Resampler r(to.width(), to.height(), false, channels);
        for (const int delivered : {from.height(), from.height() / 3}) {
            QVERIFY(r.begin(from.width(), from.height()));
            for (int y = 0; y < delivered; ++y)
                r.addRow(white.data());
            const std::vector<uint8_t> out = r.finishPixels();
            QCOMPARE(out.size(), size_t(to.width() * to.height() * channels));
            const size_t rowBytes = size_t(to.width() * channels);
            QCOMPARE(int(out.front()), 255);
            QCOMPARE(int(out.back()), delivered == from.height() ? 255 : 0);
            const auto firstBlack = size_t(std::find(out.begin(), out.end(), 0) - out.begin());
            if (delivered < from.height()) // past the rows' reach (and their filter's): nothing but black
                QVERIFY(std::all_of(out.begin() + qsizetype(firstBlack / rowBytes * rowBytes) +
                                        qsizetype(rowBytes) * 2,
                                    out.end(), [](uint8_t v) { return v == 0; }));
        }
    }

    void keepsFlatColoursFlat_data()
    {
        QTest::addColumn<QSize>("from");
        QTest::addColumn<QSize>("to");
        QTest::addColumn<bool>("soften");
        QTest::newRow("shrink") << QSize(301, 207) << QSize(40, 31) << false;
        QTest::newRow("squeeze one way") << QSize(300, 200) << QSize(300, 20) << false;
        QTest::newRow("enlarge") << QSize(10, 7) << QSize(97, 55) << false;
        QTest::newRow("same size") << QSize(33, 21) << QSize(33, 21) << false;
        QTest::newRow("after a DCT reduction") << QSize(33, 21) << QSize(33, 21) << true;
        QTest::newRow("after a DCT reduction, off by a pixel") << QSize(34, 21) << QSize(33, 21) << true;
    }
    void keepsFlatColoursFlat()
    {
        QFETCH(QSize, from);
        QFETCH(QSize, to);
        QFETCH(bool, soften);
        RgbImage in;
        in.width = from.width();
        in.height = from.height();
        for (int i = 0; i < from.width() * from.height(); ++i)
            in.pixels.insert(in.pixels.end(), {250, 3, 128});
        const RgbImage out = resample(in, to.width(), to.height(), soften);
        QCOMPARE(QSize(out.width, out.height), to);
        for (size_t i = 0; i < out.pixels.size(); i += 3) {
            QVERIFY(qAbs(out.pixels[i] - 250) <= 1);
            QVERIFY(out.pixels[i + 1] <= 4);
            QVERIFY(qAbs(out.pixels[i + 2] - 128) <= 1);
        }
    }

    void decodesAtTheAskedScale_data()
    {
        QTest::addColumn<int>("denominator");
        QTest::addColumn<QSize>("size");
        QTest::newRow("1/1") << 1 << QSize(801, 601);
        QTest::newRow("1/2") << 2 << QSize(401, 301);
        QTest::newRow("1/4") << 4 << QSize(201, 151);
        QTest::newRow("1/8") << 8 << QSize(101, 76);
    }
    void decodesAtTheAskedScale()
    {
        QFETCH(int, denominator);
        QFETCH(QSize, size);
        Collect sink;
        const JpegDecodeResult r = decode(jpeg(photoPicture({801, 601})), sink, denominator);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(QSize(sink.image.width, sink.image.height), size);
        QCOMPARE(sink.image.pixels.size(), size_t(size.width() * size.height() * 3));
    }

    void enforcesItsLimits()
    {
        Collect sink;
        JpegDecodeResult r = decode(declaredSizeBomb(10001, 10000), sink);
        QVERIFY(!r.ok);
        QCOMPARE(r.error, QStringLiteral("10001x10000 exceeds the limit of 100000000 pixels"));

        JpegLimits warningsAllowed; // repeated scans also raise warnings; here the scan count must stop it
        warningsAllowed.maxWarnings = 1'000'000;
        r = decode(scanBomb(120), sink, 8, warningsAllowed);
        QVERIFY(!r.ok);
        QCOMPARE(r.error, QStringLiteral("too many progressive scans"));

        // A progressive picture keeps all its coefficients: a small memory budget refuses it.
        Jpeg progressive;
        progressive.progressive = true;
        JpegLimits tight;
        tight.maxMemory = 200'000;
        r = decode(jpeg(photoPicture({800, 800}), progressive), sink, 8, tight);
        QVERIFY(!r.ok);
        QVERIFY2(!r.error.isEmpty(), "names why");
        QVERIFY(decode(jpeg(photoPicture({800, 800}), progressive), sink, 8).ok); // the usual budget is ample

        // Warnings are counted; a cut picture decodes until the warning budget is spent.
        const QByteArray whole = jpeg(photoPicture({256, 256}));
        r = decode(whole.left(whole.size() / 2), sink);
        QVERIFY(r.ok);
        QVERIFY(r.warnings > 0);
        JpegLimits noWarnings;
        noWarnings.maxWarnings = 0;
        r = decode(whole.left(whole.size() / 2), sink, 1, noWarnings);
        QVERIFY(!r.ok);
    }

    // The deadline is the decoding thread's own CPU time: time spent waiting does not count.
    void deadlineCountsCpuTimeOnly_data()
    {
        QTest::addColumn<bool>("working");
        QTest::addColumn<bool>("ok");
        QTest::newRow("waiting 0.6 s in all, as on a busy machine") << false << true;
        QTest::newRow("working 0.6 s in all") << true << false;
    }
    void deadlineCountsCpuTimeOnly()
    {
        QFETCH(bool, working);
        QFETCH(bool, ok);
        PacedSink sink(working, 10'000); // 60 rows of 10 ms each
        JpegLimits limits;
        limits.maxCpuMilliseconds = 200;
        const JpegDecodeResult r = decode(jpeg(photoPicture({80, 60})), sink, 1, limits);
        QCOMPARE(r.ok, ok);
        if (!ok)
            QVERIFY2(r.error.contains("CPU time"), qPrintable(r.error));
    }

    void budgetWaitsForRoom()
    {
        DecodeBudget whole(1000);
        QCOMPARE(whole.acquire(5000), 1000); // more than the whole is capped to it
        DecodeBudget budget(1000);
        const qint64 first = budget.acquire(700);
        std::atomic<bool> secondGotIn = false;
        std::thread second([&] {
            budget.release(budget.acquire(600));
            secondGotIn = true;
        });
        ::usleep(100'000);
        QVERIFY(!secondGotIn); // 700 + 600 does not fit: it waits rather than failing
        budget.release(first);
        second.join();
        QVERIFY(secondGotIn);
        QCOMPARE(budget.peak(), 700);
        QCOMPARE(budget.inUse(), 0);
    }

    // Two progressive pictures that together need more than the budget are never decoded at once.
    void decodersShareOneBudget()
    {
        Jpeg progressive;
        progressive.progressive = true;
        const QByteArray picture = jpeg(photoPicture({400, 300}), progressive);
        const qint64 need = jpegDecodeMemory(400, 300, 3, true) + picture.size();
        QVERIFY(need > 400 * 300 / 64 * 3 * 128); // every coefficient of the picture
        DecodeBudget budget(need * 3 / 2);
        JpegLimits limits;
        limits.budget = &budget;
        JpegDecodeResult results[2];
        std::thread decoders[2];
        for (int i = 0; i < 2; ++i)
            decoders[i] = std::thread([&, i] {
                PacedSink sink(false, 2'000); // slow enough for the two to meet
                results[i] = decode(picture, sink, 1, limits);
            });
        for (std::thread &t : decoders)
            t.join();
        for (const JpegDecodeResult &r : results) {
            QVERIFY2(r.ok, qPrintable(r.error));
            QCOMPARE(r.reservedBytes, need);
        }
        QCOMPARE(budget.peak(), need);
        QCOMPARE(budget.inUse(), 0);
    }

    void thumbnailsCarryOurMarker()
    {
        // A name with a blank, a percent sign and a letter beyond ASCII.
        const QByteArray name("my caf\xC3\xA9 100%.jpg");
        const PictureStamp stamp{123456, 1'796'909'041'612'713'316, 1'796'909'042'000'000'001, 987654321,
                                 name};
        const RenderedThumbnail t =
            renderThumbnail(jpeg(photoPicture({200, 100})), ThumbnailRequest{100, 0, 0}, stamp);
        QVERIFY2(t.ok(), qPrintable(t.error));
        const ThumbnailMarker expected{stamp.bytes,   stamp.mtimeNs, QSize(100, 50),
                                       stamp.ctimeNs, stamp.inode,   name};
        QCOMPARE(findThumbnailMarker(t.jpeg), std::optional(expected));
        QTemporaryDir dir;
        const QString ownName = QFile::decodeName("sm_" + name);
        QVERIFY(writeFile(dir.filePath(ownName), t.jpeg));
        QCOMPARE(readThumbnailMarker(dir.filePath(ownName)), std::optional(expected));
        QVERIFY(isOwnThumbnail(dir.filePath(ownName)));
        // A copy under another name carries the marker, but is no thumbnail of ours.
        QVERIFY(writeFile(dir.filePath("sm_holiday.jpg"), t.jpeg));
        QVERIFY(readThumbnailMarker(dir.filePath("sm_holiday.jpg")).has_value());
        QVERIFY(!isOwnThumbnail(dir.filePath("sm_holiday.jpg")));
        QVERIFY(!expected.madeFor(QFile::decodeName(name)));
        QCOMPARE(QImage::fromData(t.jpeg, "JPEG").size(), QSize(100, 50)); // still an ordinary JPEG
    }

    void markerIsOursAlone_data()
    {
        QTest::addColumn<QByteArray>("file");
        const QByteArray photo = jpeg(photoPicture({40, 30}));
        const auto withComment = [&](const QByteArray &text) {
            QByteArray segment("\xFF\xFE", 2);
            segment += char((text.size() + 2) >> 8);
            segment += char((text.size() + 2) & 0xFF);
            return QByteArray(photo).insert(2, segment + text);
        };
        QTest::newRow("a camera's photo") << photo;
        QTest::newRow("another comment") << withComment("made with love");
        QTest::newRow("our tag, fields missing") << withComment("Tessaloom thumbnail");
        QTest::newRow("our tag, a field bent")
            << withComment("Tessaloom thumbnail source-bytes=1 source-mtime-ns=x size=2x3");
        QTest::newRow("our comment after the scan starts") << QByteArray(photo).insert(
            photo.size() - 2,
            ThumbnailMarker{1, 2, QSize(3, 4), 5, 6, "x.jpg"}.commentText().prepend("\xFF\xFE\x00\x72"));
        QTest::newRow("the older marker, naming no picture")
            << withComment("Tessaloom thumbnail source-bytes=1 source-mtime-ns=2 size=3x4");
        QTest::newRow("not a JPEG") << QByteArray("\x89PNG\r\n\x1a\n");
        QTest::newRow("empty") << QByteArray();
    }
    void markerIsOursAlone()
    {
        QFETCH(QByteArray, file);
        QCOMPARE(findThumbnailMarker(file), std::nullopt);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("sm_x.jpg"), file));
        QCOMPARE(readThumbnailMarker(dir.filePath("sm_x.jpg")), std::nullopt);
    }

    void reportsErrorsAsText()
    {
        Collect sink;
        const JpegDecodeResult r = decode(QByteArray("no jpeg here at all"), sink);
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains("JPEG"), qPrintable(r.error));
        const RenderedThumbnail t = renderThumbnail(QByteArray(), ThumbnailRequest{});
        QVERIFY(!t.ok());
        QVERIFY(!t.error.isEmpty());
    }

    void encodesWhatItIsGiven()
    {
        RgbImage image = stripes(64, 32);
        const QByteArray data = encodeJpeg(image, 90);
        const QImage back = QImage::fromData(data, "JPEG");
        QCOMPARE(back.size(), QSize(64, 32));
        QCOMPARE(facts(data).firstLumaQuant, 3);
        QVERIFY(facts(data).baseline);
    }
};

QTEST_GUILESS_MAIN(TestThumbnailDecode)
#include "tst_ThumbnailDecode.moc"
