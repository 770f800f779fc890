// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/PageOptions.h"
#include "generator/ThumbnailMaker.h"
#include "generator/ThumbnailRender.h"
#include "media/JpegCodec.h"
#include "media/JpegColourTags.h"
#include "media/JpegPicture.h"
#include "media/SrgbTransform.h"
#include "support/ColourFixtures.h"
#include "support/ThumbFixtures.h"
#include "support/ThumbRecordingFeedback.h"

#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>

using ColourFixtures::Profile;
using ThumbFixtures::Colour;

namespace
{

enum class Damage { None, Truncated, UnfitProfile };

struct Case {
    Profile profile = Profile::None;
    Colour colour = Colour::Rgb;
    QColor patch;
    int chunkBytes = 0;
    bool exifAdobeRgb = false;
    Damage damage = Damage::None;
};

ThumbFixtures::Jpeg howOf(const Case &c)
{
    ThumbFixtures::Jpeg how;
    how.colour = c.colour;
    how.iccProfile = ColourFixtures::profile(c.profile);
    if (c.damage == Damage::Truncated)
        how.iccProfile.truncate(how.iccProfile.size() / 2);
    how.iccChunkBytes = c.chunkBytes;
    how.exifAdobeRgb = c.exifAdobeRgb;
    return how;
}

class WholeScale final : public JpegScalePlanner
{
public:
    int scaleDenominator(int, int) noexcept override { return 1; }
};

// Keeps the rows as they come, as plain inks when inks are offered and takeInks is set.
class KeepRows final : public RgbRowSink
{
public:
    explicit KeepRows(bool takeInks) : m_takeInks(takeInks) {}
    bool begin(int w, int h) noexcept override { return start(w, h, 3); }
    bool beginInks(int w, int h) noexcept override { return m_takeInks && start(w, h, 4); }
    void addRow(const uint8_t *row) noexcept override
    {
        pixels.insert(pixels.end(), row, row + size_t(width * channels));
    }
    int width = 0, height = 0, channels = 0;
    std::vector<uint8_t> pixels;

private:
    bool start(int w, int h, int c)
    {
        width = w;
        height = h;
        channels = c;
        return true;
    }
    bool m_takeInks;
};

QColor middle(const QImage &image)
{
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

} // namespace

Q_DECLARE_METATYPE(Case)
Q_DECLARE_METATYPE(Profile)

// Thumbnails and the viewer show a picture's colours through its colour profile, as browsers do: each
// flat patch is compared with what Little CMS's own jpgicc makes of the same file.
class TestThumbnailColour : public QObject
{
    Q_OBJECT

private slots:
    void matchesTheProfileReference_data()
    {
        QTest::addColumn<Case>("c");
        const QColor green(60, 180, 40), red(200, 60, 40), orange(230, 140, 60);
        QTest::newRow("sRGB profile") << Case{Profile::Srgb, Colour::Rgb, red};
        QTest::newRow("Display P3") << Case{Profile::DisplayP3, Colour::Rgb, green};
        QTest::newRow("Adobe RGB profile") << Case{Profile::AdobeRgb, Colour::Rgb, green};
        QTest::newRow("Adobe RGB marked in EXIF only") << Case{Profile::None, Colour::Rgb, green, 0, true};
        QTest::newRow("ProPhoto") << Case{Profile::ProPhoto, Colour::Rgb, green};
        QTest::newRow("ProPhoto over several APP2 chunks") << Case{Profile::ProPhoto, Colour::Rgb, red, 100};
        QTest::newRow("gray, linear profile")
            << Case{Profile::LinearGray, Colour::Gray, QColor(128, 128, 128)};
        QTest::newRow("CMYK with profile") << Case{Profile::Cmyk, Colour::Cmyk, orange};
        QTest::newRow("Adobe inverted CMYK with profile") << Case{Profile::Cmyk, Colour::AdobeCmyk, orange};
        QTest::newRow("Adobe YCCK with profile") << Case{Profile::Cmyk, Colour::AdobeYcck, green};
    }

    void matchesTheProfileReference()
    {
        QFETCH(Case, c);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("patch.jpg"));
        QVERIFY(ThumbFixtures::writeJpeg(path, ThumbFixtures::solidPicture({64, 48}, c.patch), howOf(c)));
        QStringList jpgiccFlags;
        if (c.exifAdobeRgb) { // jpgicc does not read EXIF: it is told the profile the EXIF names
            const QString adobe = dir.filePath(QStringLiteral("adobe.icc"));
            QVERIFY(ThumbFixtures::writeFile(adobe, ColourFixtures::profile(Profile::AdobeRgb)));
            jpgiccFlags << QStringLiteral("-i") << adobe;
        }
        const QColor reference = ColourFixtures::jpgiccMiddleColour(path, dir.path(), jpgiccFlags);
        QVERIFY2(reference.isValid(), "jpgicc made no reference");

        const RenderedThumbnail thumbnail = renderThumbnailFile(path, ThumbnailRequest{0, 0, 2});
        QVERIFY2(thumbnail.ok(), qPrintable(thumbnail.error));
        QCOMPARE(thumbnail.colourIgnored, QString());
        const QImage shown = QImage::fromData(thumbnail.jpeg, "JPEG");
        QCOMPARE(shown.size(), QSize(32, 24));
        const double thumbDelta = ColourFixtures::deltaE76(middle(shown), reference);
        QVERIFY2(thumbDelta <= 3, qPrintable(QStringLiteral("thumbnail %1 vs jpgicc %2: ΔE %3")
                                                 .arg(middle(shown).name(), reference.name())
                                                 .arg(thumbDelta)));
        // Plain sRGB: no profile travels with the thumbnail.
        const auto *bytes = reinterpret_cast<const uint8_t *>(thumbnail.jpeg.constData());
        QVERIFY(readJpegColourTags(bytes, size_t(thumbnail.jpeg.size())).iccProfile.isEmpty());

        // The viewer decodes through the same transform.
        QString error;
        const QImage viewed = decodeJpegPicture(ThumbFixtures::readFile(path), &error);
        QVERIFY2(!viewed.isNull(), qPrintable(error));
        const double viewDelta = ColourFixtures::deltaE76(middle(viewed), reference);
        QVERIFY2(viewDelta <= 3, qPrintable(QStringLiteral("viewer %1 vs jpgicc %2: ΔE %3")
                                                .arg(middle(viewed).name(), reference.name())
                                                .arg(viewDelta)));
    }

    // A CMYK picture's inks can be handed over plain (Adobe's inverted ones turned back), to be scaled
    // before they become colours; they then become the same colours as when turned row by row.
    void handsOverPlainInks()
    {
        QTemporaryDir dir;
        const QImage patch = ThumbFixtures::solidPicture({24, 16}, QColor(230, 140, 60));
        std::vector<uint8_t> plainInks;
        for (const Colour kind : {Colour::Cmyk, Colour::AdobeCmyk}) {
            const QString path = dir.filePath(QStringLiteral("inks.jpg"));
            QVERIFY(ThumbFixtures::writeJpeg(path, patch, howOf(Case{Profile::Cmyk, kind, QColor()})));
            const QByteArray file = ThumbFixtures::readFile(path);
            const auto *data = reinterpret_cast<const uint8_t *>(file.constData());
            const PictureColour colour = pictureColour(data, size_t(file.size()));
            QVERIFY(colour.forCmykRows());
            WholeScale whole;
            KeepRows inks(true), colours(false);
            QVERIFY(decodeJpeg(data, size_t(file.size()), whole, inks, {}, colour.forCmykRows()).ok);
            QVERIFY(decodeJpeg(data, size_t(file.size()), whole, colours, {}, colour.forCmykRows()).ok);
            QCOMPARE(inks.channels, 4);
            QCOMPARE(colours.channels, 3);
            QCOMPARE(colour.inksToSrgb(inks.pixels.data(), inks.width, inks.height).pixels, colours.pixels);
            if (plainInks.empty()) {
                plainInks = inks.pixels;
                continue;
            }
            for (size_t i = 0; i < plainInks.size(); ++i) // the same inks, stored either way
                QVERIFY2(qAbs(int(plainInks[i]) - int(inks.pixels[i])) <= 2, qPrintable(QString::number(i)));
        }
    }

    // CMYK profiles are read through a grid of their own: over inks between and on its nodes, and in
    // every corner, it agrees with Little CMS's own transform to within ΔE 2.5, and to within 2 steps of
    // 255 in all but a few channels (where press curves bend most, near no ink).
    void cmykTableAgreesWithLittleCms()
    {
        JpegColourTags tags;
        tags.components = 4;
        tags.iccProfile = ColourFixtures::profile(Profile::Cmyk);
        const PictureColour colour = pictureColour(tags);
        QVERIFY(colour.forCmykRows());
        std::vector<uint8_t> inks;
        const int levels[] = {0, 1, 7, 14, 15, 16, 60, 97, 128, 171, 200, 239, 240, 241, 254, 255};
        for (const int c : levels)
            for (const int m : levels)
                for (const int y : levels)
                    for (const int k : levels)
                        inks.insert(inks.end(), {uint8_t(c), uint8_t(m), uint8_t(y), uint8_t(k)});
        const int count = int(inks.size() / 4);
        std::vector<uint8_t> ours(size_t(count) * 3);
        colour.forCmykRows()->convertCmykRow(inks.data(), ours.data(), count);
        const std::vector<unsigned char> reference = ColourFixtures::lcmsToSrgb(tags.iccProfile, inks, 4);
        QCOMPARE(reference.size(), ours.size());
        double worst = 0;
        int beyondTwoSteps = 0;
        for (size_t p = 0; p < size_t(count); ++p) {
            const uint8_t *o = ours.data() + p * 3;
            const unsigned char *r = reference.data() + p * 3;
            worst =
                std::max(worst, ColourFixtures::deltaE76(QColor(o[0], o[1], o[2]), QColor(r[0], r[1], r[2])));
            for (int i = 0; i < 3; ++i)
                beyondTwoSteps += qAbs(int(o[i]) - int(r[i])) > 2;
        }
        QVERIFY2(worst <= 2.5, qPrintable(QStringLiteral("worst ΔE %1").arg(worst)));
        QVERIFY2(beyondTwoSteps * 200 < count * 3, qPrintable(QString::number(beyondTwoSteps)));
    }

    // Matrix profiles take a faster path of their own: over a grid of every colour it agrees with Little
    // CMS's own transform to within one step of 255.
    void matrixProfilesAgreeWithLittleCms_data()
    {
        QTest::addColumn<Profile>("profile");
        QTest::newRow("Display P3") << Profile::DisplayP3;
        QTest::newRow("Adobe RGB") << Profile::AdobeRgb;
        QTest::newRow("ProPhoto") << Profile::ProPhoto;
    }
    void matrixProfilesAgreeWithLittleCms()
    {
        QFETCH(Profile, profile);
        JpegColourTags tags;
        tags.components = 3;
        tags.iccProfile = ColourFixtures::profile(profile);
        const PictureColour colour = pictureColour(tags);
        QVERIFY(colour.transform);
        RgbImage ours;
        for (int r = 0; r < 256; r += 5)
            for (int g = 0; g < 256; g += 5)
                for (int b = 0; b < 256; b += 5)
                    ours.pixels.insert(ours.pixels.end(), {uint8_t(r), uint8_t(g), uint8_t(b)});
        ours.width = int(ours.pixels.size() / 3);
        ours.height = 1;
        const std::vector<uint8_t> stored = ours.pixels;
        colour.toSrgb(ours);
        const std::vector<uint8_t> theirs = ColourFixtures::lcmsToSrgb(tags.iccProfile, stored);
        QCOMPARE(theirs.size(), stored.size());
        int worst = 0;
        for (size_t i = 0; i < theirs.size(); ++i)
            worst = std::max(worst, std::abs(int(theirs[i]) - int(ours.pixels[i])));
        QVERIFY2(worst <= 1, qPrintable(QString::number(worst)));
        // Pixels are turned two at a time where they can be: alone, each comes out the same.
        for (size_t p = 0; p < stored.size(); p += 3 * 97) {
            RgbImage alone{1, 1, {stored[p], stored[p + 1], stored[p + 2]}};
            colour.toSrgb(alone);
            QCOMPARE(alone.pixels, std::vector<uint8_t>(ours.pixels.begin() + qsizetype(p),
                                                        ours.pixels.begin() + qsizetype(p) + 3));
        }
    }

    // A transform is built once per profile and kind of pixels, and kept for the next pictures: what the
    // cache hands out turns colours exactly as a transform built anew, for every kind of profile.
    void cachedTransformsTurnColoursAsFreshOnes_data()
    {
        QTest::addColumn<Profile>("profile");
        QTest::addColumn<int>("components");
        QTest::addColumn<bool>("exifAdobeRgb");
        QTest::newRow("matrix: Display P3") << Profile::DisplayP3 << 3 << false;
        QTest::newRow("matrix: ProPhoto") << Profile::ProPhoto << 3 << false;
        QTest::newRow("Adobe RGB from EXIF") << Profile::None << 3 << true;
        QTest::newRow("gray") << Profile::LinearGray << 1 << false;
        QTest::newRow("CMYK table") << Profile::Cmyk << 4 << false;
    }
    void cachedTransformsTurnColoursAsFreshOnes()
    {
        QFETCH(Profile, profile);
        QFETCH(int, components);
        QFETCH(bool, exifAdobeRgb);
        JpegColourTags tags;
        tags.components = components;
        tags.iccProfile = ColourFixtures::profile(profile);
        tags.exifAdobeRgb = exifAdobeRgb;
        const PictureColour cached = pictureColour(tags), again = pictureColour(tags);
        const PictureColour fresh = freshPictureColour(tags);
        QVERIFY(cached.transform && fresh.transform);
        QCOMPARE(again.transform, cached.transform); // kept, not built again
        QVERIFY(fresh.transform != cached.transform);
        // An odd number of pixels over every level of each channel, in a scrambled order.
        const int count = 4099, channels = components == 4 ? 4 : 3;
        std::vector<uint8_t> stored(size_t(count) * size_t(channels));
        for (size_t i = 0; i < stored.size(); ++i)
            stored[i] = uint8_t((i * 37 + i / 256 * 101) % 256);
        if (components == 1) // gray pictures come as three equal values
            for (size_t i = 0; i < stored.size(); i += 3)
                stored[i + 1] = stored[i + 2] = stored[i];
        if (components == 4) {
            QCOMPARE(cached.inksToSrgb(stored.data(), count, 1).pixels,
                     fresh.inksToSrgb(stored.data(), count, 1).pixels);
            // Turned in place within the inks' own memory, too.
            QCOMPARE(cached.inksToSrgb(std::vector<uint8_t>(stored), count, 1).pixels,
                     fresh.inksToSrgb(stored.data(), count, 1).pixels);
            return;
        }
        RgbImage viaCache{count, 1, stored}, viaFresh{count, 1, stored};
        cached.toSrgb(viaCache);
        fresh.toSrgb(viaFresh);
        QVERIFY(viaCache.pixels != stored);
        QCOMPARE(viaCache.pixels, viaFresh.pixels);
    }

    // The same bytes asked for as another kind of pixels are not taken from the cache: a CMYK profile is
    // unfit for an RGB picture even once it was built for CMYK ones.
    void cacheTellsKindsOfPixelsApart()
    {
        JpegColourTags tags;
        tags.components = 4;
        tags.iccProfile = ColourFixtures::profile(Profile::Cmyk);
        QVERIFY(pictureColour(tags).forCmykRows());
        tags.components = 3;
        const PictureColour unfit = pictureColour(tags);
        QVERIFY(!unfit.transform);
        QVERIFY(!unfit.ignored.isEmpty());
    }

    // Workers meeting a profile not yet built at the same moment share one build.
    void workersShareOneBuild()
    {
        JpegColourTags tags;
        tags.components = 4;
        tags.iccProfile = ColourFixtures::profile(Profile::Cmyk);
        tags.iccProfile[100] = char(0x5A); // a reserved header byte: a profile the cache has not met
        std::atomic<bool> go = false;
        std::vector<std::shared_ptr<const SrgbTransform>> got(4);
        std::vector<std::thread> workers;
        for (auto &transform : got)
            workers.emplace_back([&go, &tags, &transform] {
                while (!go)
                    std::this_thread::yield();
                transform = pictureColour(tags).transform;
            });
        go = true;
        for (std::thread &worker : workers)
            worker.join();
        QVERIFY(got.front());
        for (const auto &transform : got)
            QCOMPARE(transform, got.front());
    }

    // Without a usable profile the numbers are shown as stored (CMYK by the ink multiplication browsers
    // use), and a damaged or unfit profile is named once.
    void withoutUsableProfileKeepsTheStoredColours_data()
    {
        QTest::addColumn<Case>("c");
        QTest::addColumn<bool>("told");
        const QColor green(60, 180, 40), orange(230, 140, 60);
        QTest::newRow("no profile") << Case{Profile::None, Colour::Rgb, green} << false;
        QTest::newRow("CMYK without profile") << Case{Profile::None, Colour::Cmyk, orange} << false;
        QTest::newRow("Adobe CMYK without profile")
            << Case{Profile::None, Colour::AdobeCmyk, orange} << false;
        QTest::newRow("truncated profile")
            << Case{Profile::ProPhoto, Colour::Rgb, green, 0, false, Damage::Truncated} << true;
        QTest::newRow("truncated profile over chunks")
            << Case{Profile::DisplayP3, Colour::Rgb, green, 100, false, Damage::Truncated} << true;
        QTest::newRow("CMYK profile on an RGB picture")
            << Case{Profile::Cmyk, Colour::Rgb, green, 0, false, Damage::UnfitProfile} << true;
    }

    void withoutUsableProfileKeepsTheStoredColours()
    {
        QFETCH(Case, c);
        QFETCH(bool, told);
        QTemporaryDir dir;
        QVERIFY(ThumbFixtures::writeJpeg(dir.filePath(QStringLiteral("a.jpg")),
                                         ThumbFixtures::solidPicture({64, 48}, c.patch), howOf(c)));
        QVERIFY(ThumbFixtures::writeJpeg(dir.filePath(QStringLiteral("b.jpg")),
                                         ThumbFixtures::solidPicture({64, 48}, c.patch)));
        PageOptions options;
        options.setThumbnailer(true);
        ThumbRecordingFeedback feedback;
        const ThumbnailOutcome outcome =
            MakeThumbnails(dir.path(), {QStringLiteral("a.jpg"), QStringLiteral("b.jpg")}, options, feedback);
        QCOMPARE(outcome.failed, 0);
        QCOMPARE(feedback.messages.size(), told ? 1 : 0);
        if (told)
            QVERIFY2(feedback.messages.first().contains(QLatin1String("a.jpg")),
                     qPrintable(feedback.messages.first()));
        const QImage shown(dir.filePath(QStringLiteral("sm_a.jpg")));
        QCOMPARE(shown.size(), QSize(32, 24));
        const double delta = ColourFixtures::deltaE76(middle(shown), c.patch);
        QVERIFY2(delta <= 3, qPrintable(QStringLiteral("thumbnail %1 vs stored %2: ΔE %3")
                                            .arg(middle(shown).name(), c.patch.name())
                                            .arg(delta)));
    }
};

QTEST_GUILESS_MAIN(TestThumbnailColour)
#include "tst_ThumbnailColour.moc"
