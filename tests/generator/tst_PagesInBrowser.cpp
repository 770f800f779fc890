// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/PageOptions.h"
#include "support/ColourFixtures.h"
#include "support/RunWorld.h"
#include "support/ThumbFixtures.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include <memory>
#include <vector>

// Pages made by whole runs, over hostile names and every kind of page, opened in a real browser
// (headless Chromium): every picture must load and every link must lead to an existing file.
class TestPagesInBrowser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyPictureLoadsAndEveryLinkLeadsToAFile();
    void profiledThumbnailsShowTheColoursOfTheirPictures();
};

namespace
{

// Names that try to break a page: blanks at the edges, URL syntax, markup, letters beyond ASCII.
QStringList hostileStems()
{
    return {QStringLiteral("a b"),          QStringLiteral(" lead"),
            QStringLiteral("trail "),       QStringLiteral("a#1"),
            QStringLiteral("what?"),        QStringLiteral("100%"),
            QStringLiteral("a%41"),         QStringLiteral("c:x"),
            QStringLiteral("q\"uote"),      QStringLiteral("<b>bold"),
            QStringLiteral("&amp;"),        QStringLiteral("x{|}^`[]"),
            QStringLiteral("a\\b"),         QStringLiteral("caf\u00e9"),
            QStringLiteral("\u65e5\u672c"), QStringLiteral("smile\U0001F600")};
}

QStringList withExtension(const QStringList &stems, const QString &extension)
{
    QStringList names;
    for (const QString &stem : stems)
        names << stem + extension;
    return names;
}

enum class Sizes { Percent50, Percent10, Explicit };
enum class Extra { None, SoundPicture, BackgroundElsewhere, BackgroundInFolder };

struct PageCase {
    const char *title;
    MediaKind kind;
    QStringList names;      // the media of the folder, each a cell
    QStringList besideThem; // other files the folder holds (movie pictures)
    bool thumbnails;
    Sizes sizes;
    Extra extra;
    bool picturesInCells; // every cell shows a picture
};

std::vector<PageCase> pageCases()
{
    const QStringList stems = hostileStems();
    const QStringList upperCase{QStringLiteral("Big Picture.JPG"), QStringLiteral("Mixed.Jpg")};
    return {
        {"pictures, thumbnails at 50 %",
         mkGifJpg,
         withExtension(stems, ".jpg") + upperCase + QStringList{"anim.gif", "A GIF.GIF"},
         {},
         true,
         Sizes::Percent50,
         Extra::None,
         true},
        {"JPG, thumbnails of explicit size",
         mkJpg,
         withExtension(stems.mid(0, 8), ".jpg") + upperCase,
         {},
         true,
         Sizes::Explicit,
         Extra::BackgroundInFolder,
         true},
        {"JPG, thumbnails at 10 %, background from elsewhere",
         mkJpg,
         upperCase + QStringList{"x y.jpg"},
         {},
         true,
         Sizes::Percent10,
         Extra::BackgroundElsewhere,
         true},
        {"JPG without thumbnails",
         mkJpg,
         withExtension(stems.mid(8), ".jpg") + upperCase,
         {},
         false,
         Sizes::Percent50,
         Extra::None,
         true},
        {"GIF only", mkGif, withExtension(stems, ".gif"), {}, true, Sizes::Percent50, Extra::None, true},
        {"WAV with a picture for sounds",
         mkWav,
         withExtension(stems, ".wav"),
         {},
         true,
         Sizes::Percent50,
         Extra::SoundPicture,
         true},
        {"MID as text", mkMid, withExtension(stems, ".mid"), {}, true, Sizes::Percent50, Extra::None, false},
        {"MP3 as text on a background picture",
         mkMp3,
         withExtension(stems, ".mp3"),
         {},
         true,
         Sizes::Percent50,
         Extra::BackgroundElsewhere,
         false},
        {"AVI with their pictures", mkAvi, withExtension(stems, ".avi"), withExtension(stems, ".jpg"), true,
         Sizes::Percent50, Extra::None, true},
        {"MPG with their pictures", mkMpg, withExtension(stems.mid(0, 6), ".mpg"),
         withExtension(stems.mid(0, 6), ".jpg"), true, Sizes::Explicit, Extra::None, true},
    };
}

bool writeMedia(const QString &path)
{
    const QString lower = path.toLower();
    if (lower.endsWith(QLatin1String(".jpg")))
        return runWriteJpeg(path, 80, 60);
    if (lower.endsWith(QLatin1String(".gif")))
        return runWriteGif(path);
    return runWriteBytes(path, QByteArrayLiteral("RIFF media"));
}

struct MadePage {
    QString title;
    QString path;
    int pictures = 0;
    int links = 0;
};

QJsonObject runBrowserCheck(const QStringList &pages, QString *failure)
{
    QProcess python;
    python.start(QStringLiteral("python3"), QStringList{qEnvironmentVariable("TESSALOOM_SOURCE_DIR") +
                                                        "/tests/generator/page_browser_check.py"} +
                                                pages);
    if (!python.waitForFinished(300000)) {
        *failure = QStringLiteral("the browser check did not finish");
        return {};
    }
    const QByteArray out = python.readAllStandardOutput();
    if (python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
        *failure = QString::fromUtf8(out + python.readAllStandardError());
        return {};
    }
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(out, &error);
    if (!doc.isObject())
        *failure = QStringLiteral("unreadable answer: ") + error.errorString() + QString::fromUtf8(out);
    return doc.object();
}

} // namespace

void TestPagesInBrowser::everyPictureLoadsAndEveryLinkLeadsToAFile()
{
    std::vector<std::unique_ptr<RunWorld>> worlds; // every folder stays until the browser has seen it
    QList<MadePage> made;
    for (const PageCase &c : pageCases()) {
        auto world = std::make_unique<RunWorld>(QString::fromLatin1(c.title));
        RunWorld &w = *world;
        for (const QString &name : c.names + c.besideThem)
            QVERIFY2(writeMedia(w.path(name)), qPrintable(name));
        w.show(c.kind);
        w.options.setShownamebox(false);
        w.options.setPLabelStatus(true);
        w.options.setPLabelSize(true);
        w.options.setColumnEdit(4);
        if (c.extra == Extra::SoundPicture) {
            QDir().mkpath(w.root.filePath("art"));
            const QString pick = w.root.filePath("art/no\"te.jpg");
            QVERIFY(runWriteJpeg(pick, 64, 48));
            w.options.setSoundChoice(PageOptions::UsePicture, true);
            w.options.setSoundPick(pick);
        }
        if (c.extra == Extra::BackgroundElsewhere || c.extra == Extra::BackgroundInFolder) {
            const QString folder =
                c.extra == Extra::BackgroundInFolder ? w.folder : w.root.filePath("my art");
            QDir().mkpath(folder);
            const QString background = folder + "/my\"bg.gif";
            QVERIFY(runWriteGif(background));
            w.options.setBackgroundChoice(PageOptions::UseBackgroundPicture, true);
            w.options.setBackgroundfile("\"" + background + "\"");
            if (c.extra == Extra::BackgroundInFolder)
                w.show(c.kind); // the picture is one of the folder's files now
        }
        w.options.setThumbnailer(c.thumbnails);
        if (c.sizes == Sizes::Explicit) {
            w.options.setWidthEdit(48);
            w.options.setHeightEdit(30);
        } else {
            w.options.choosePercent(c.sizes == Sizes::Percent50 ? 0 : 4);
        }
        w.options.setThumbnailer(c.thumbnails);

        w.run->WebButtonClick();

        QVERIFY2(w.ui.errorBoxes.isEmpty(), qPrintable(c.title + (": " + w.ui.errorBoxes.join('\n'))));
        const QString page = w.path("MediaPage.htm");
        QVERIFY2(w.ui.messages == QStringList{page + " was created."},
                 qPrintable(c.title + (": " + w.ui.messages.join('\n'))));
        const int cells = int(c.names.size());
        const bool background = c.extra == Extra::BackgroundElsewhere || c.extra == Extra::BackgroundInFolder;
        made << MadePage{QString::fromLatin1(c.title), page,
                         (c.picturesInCells ? cells : 0) + (background ? 1 : 0), cells};
        worlds.push_back(std::move(world));
    }

    // The check must see a broken page for what it is: a missing picture and a link to nothing.
    QTemporaryDir brokenDir;
    const QString broken = brokenDir.filePath("broken.htm");
    QVERIFY(runWriteGif(brokenDir.filePath("there.gif")));
    QVERIFY(runWriteBytes(broken, "<HTML><BODY><A HREF=\"gone.jpg\"><IMG SRC=\"sm_gone.jpg\"></A>"
                                  "<A HREF=\"there.gif\"><IMG SRC=\"there.gif\"></A></BODY></HTML>\r\n"));

    QStringList paths{broken};
    for (const MadePage &page : made)
        paths << page.path;
    QString failure;
    const QJsonObject answer = runBrowserCheck(paths, &failure);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    const QJsonArray results = answer.value("pages").toArray();
    QCOMPARE(results.size(), paths.size());

    const QJsonObject brokenResult = results.at(0).toObject();
    QCOMPARE(brokenResult.value("pictures").toInt(), 2);
    QCOMPARE(brokenResult.value("loaded").toInt(), 1);
    QCOMPARE(brokenResult.value("links").toInt(), 2);
    QCOMPARE(brokenResult.value("reachable").toInt(), 1);

    for (int i = 0; i < made.size(); ++i) {
        const MadePage &page = made.at(i);
        const QJsonObject result = results.at(i + 1).toObject();
        const QString problems =
            page.title + ": " +
            QString::fromUtf8(
                QJsonDocument(result.value("problems").toArray()).toJson(QJsonDocument::Compact));
        QVERIFY2(result.value("problems").toArray().isEmpty(), qPrintable(problems));
        QCOMPARE(result.value("pictures").toInt(), page.pictures);
        QCOMPARE(result.value("loaded").toInt(), page.pictures);
        QCOMPARE(result.value("links").toInt(), page.links);
        QCOMPARE(result.value("reachable").toInt(), page.links);
    }
}

// A page of pictures with colour profiles: in a Chromium screenshot each thumbnail shows the colour the
// browser shows for its picture.
void TestPagesInBrowser::profiledThumbnailsShowTheColoursOfTheirPictures()
{
    using ColourFixtures::Profile;
    using ThumbFixtures::Colour;
    struct Picture {
        const char *name;
        Profile profile;
        Colour colour;
        QColor patch;
    };
    const QColor green(60, 180, 40), orange(230, 140, 60);
    const std::vector<Picture> pictures{
        {"p3.jpg", Profile::DisplayP3, Colour::Rgb, green},
        {"adobe.jpg", Profile::AdobeRgb, Colour::Rgb, green},
        {"prophoto.jpg", Profile::ProPhoto, Colour::Rgb, green},
        {"gray.jpg", Profile::LinearGray, Colour::Gray, QColor(128, 128, 128)},
        {"cmyk.jpg", Profile::Cmyk, Colour::AdobeCmyk, orange},
        {"cmyk-plain.jpg", Profile::None, Colour::AdobeCmyk, orange},
    };
    RunWorld w(QStringLiteral("profiled"));
    for (const Picture &p : pictures) {
        ThumbFixtures::Jpeg how;
        how.colour = p.colour;
        how.iccProfile = ColourFixtures::profile(p.profile);
        QVERIFY(
            ThumbFixtures::writeJpeg(w.path(p.name), ThumbFixtures::solidPicture({80, 80}, p.patch), how));
    }
    w.show(mkJpg);
    w.options.setThumbnailer(true);
    w.options.choosePercent(0);
    w.run->WebButtonClick();
    const QString page = w.path("MediaPage.htm");
    QVERIFY2(w.ui.messages == QStringList{page + " was created."}, qPrintable(w.ui.messages.join('\n')));

    // Each picture beside its thumbnail, both drawn 32 pixels square, one row each.
    QByteArray html = "<!DOCTYPE html><html><body style=\"margin:0;background:#fff\">";
    for (size_t i = 0; i < pictures.size(); ++i) {
        const QByteArray top = QByteArray::number(qsizetype(i) * 40);
        const QByteArray name = pictures[i].name;
        html += "<img src=\"" + name + "\" style=\"position:absolute;left:0;top:" + top +
                "px;width:32px;height:32px\"><img src=\"sm_" + name +
                "\" style=\"position:absolute;left:40px;top:" + top + "px;width:32px;height:32px\">";
    }
    html += "</body></html>";
    const QString compare = w.path("compare.htm");
    QVERIFY(ThumbFixtures::writeFile(compare, html));
    const QString shot = w.root.filePath("shot.png");
    QProcess chromium;
    chromium.start(QStringLiteral("chromium"),
                   {"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--hide-scrollbars",
                    "--force-color-profile=srgb", "--user-data-dir=" + w.root.filePath("chromium"),
                    "--window-size=120,260", "--screenshot=" + shot,
                    QUrl::fromLocalFile(compare).toString()});
    QVERIFY2(chromium.waitForFinished(240000), "Chromium did not finish");
    const QImage screen(shot);
    QVERIFY2(!screen.isNull(), chromium.readAllStandardError().right(2000).constData());
    for (size_t i = 0; i < pictures.size(); ++i) {
        const int y = int(i) * 40 + 16;
        const QColor original = screen.pixelColor(16, y);
        const QColor thumbnail = screen.pixelColor(56, y);
        const double delta = ColourFixtures::deltaE76(original, thumbnail);
        QVERIFY2(delta <= 3, qPrintable(QStringLiteral("%1: picture %2, thumbnail %3 in the browser: ΔE %4")
                                            .arg(pictures[i].name, original.name(), thumbnail.name())
                                            .arg(delta)));
    }
    // The browser did apply the profiles: ProPhoto's green is far from its stored numbers.
    QVERIFY(ColourFixtures::deltaE76(screen.pixelColor(16, 2 * 40 + 16), green) > 10);
}

QTEST_GUILESS_MAIN(TestPagesInBrowser)
#include "tst_PagesInBrowser.moc"
