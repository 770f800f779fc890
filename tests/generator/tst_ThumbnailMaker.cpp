// SPDX-License-Identifier: GPL-2.0-or-later
#include "generator/ThumbnailMaker.h"

#include "core/PageOptions.h"
#include "core/SafeFile.h"
#include "generator/ThumbnailMarker.h"
#include "generator/ThumbnailRender.h"
#include "generator/ThumbnailSize.h"
#include "support/ThumbFixtures.h"
#include "support/ThumbRecordingFeedback.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace ThumbFixtures;

class TestThumbnailMaker : public QObject
{
    Q_OBJECT

    static QString path(const QTemporaryDir &dir, const QString &name) { return dir.filePath(name); }

    static void setPercent(PageOptions &options, int index)
    {
        options.mediaKindChanged(mkJpg);
        options.setThumbnailer(true);
        options.choosePercent(index);
    }
    static void setExplicit(PageOptions &options, int width, int height)
    {
        options.mediaKindChanged(mkJpg);
        options.setThumbnailer(true);
        options.setWidthEdit(width);
        options.setHeightEdit(height);
    }

    static QImage thumbnail(const QTemporaryDir &dir, const QString &name)
    {
        return QImage(dir.filePath(name), "JPEG");
    }

    // The messages without the reasons they give.
    static QStringList withoutReasons(const QStringList &texts)
    {
        QStringList out;
        for (const QString &text : texts)
            out << text.section(QStringLiteral(": "), 0, text.startsWith(QLatin1String("message: ")) ? 1 : 0);
        return out;
    }

    // Files of the folder that the maker might have left half-written.
    static QStringList leftovers(const QTemporaryDir &dir)
    {
        return QDir(dir.path())
            .entryList({QString::fromLatin1(SafeFile::TemporaryMark) + "*"},
                       QDir::Files | QDir::Hidden | QDir::System);
    }

private Q_SLOTS:
    void namesThumbnails_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("thumbnail");
        QTest::newRow("lower case") << "/pics"
                                    << "photo.jpg"
                                    << "/pics/sm_photo.jpg";
        QTest::newRow("upper-case extension kept, as the page refers to it") << "/pics"
                                                                             << "Big Picture.JPG"
                                                                             << "/pics/sm_Big Picture.JPG";
        QTest::newRow("mixed case kept") << "/pics"
                                         << "a.b.Jpg"
                                         << "/pics/sm_a.b.Jpg";
        QTest::newRow("root folder") << "/"
                                     << "x.jpg"
                                     << "/sm_x.jpg";
        QTest::newRow("thumbnail of a thumbnail") << "/p"
                                                  << "sm_a.jpg"
                                                  << "/p/sm_sm_a.jpg";
    }
    void namesThumbnails()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, thumbnail);
        QCOMPARE(ThumbnailName(folder, name), thumbnail);
    }

    void choosesPictures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("wanted");
        QTest::newRow("jpg") << "a.jpg" << true;
        QTest::newRow("JPG") << "C.JPG" << true;
        QTest::newRow("jPg") << "c.jPg" << true;
        QTest::newRow("jpeg") << "d.jpeg" << false;
        QTest::newRow("gif") << "b.gif" << false;
        QTest::newRow("jpg inside the name") << "a.jpg.txt" << false;
        QTest::newRow("no extension") << "jpg" << false;
    }
    void choosesPictures()
    {
        QFETCH(QString, name);
        QFETCH(bool, wanted);
        QCOMPARE(wantsThumbnail(name), wanted);
    }

    void sizesFollowTheOptions_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<int>("percentIndex"); // -1: explicit sizes
        QTest::addColumn<QSize>("explicitSize");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("50 % drops the remainder") << QSize(801, 601) << 0 << QSize() << QSize(400, 300);
        QTest::newRow("33 %") << QSize(640, 480) << 1 << QSize() << QSize(213, 160);
        QTest::newRow("25 %") << QSize(640, 480) << 2 << QSize() << QSize(160, 120);
        QTest::newRow("20 %") << QSize(640, 480) << 3 << QSize() << QSize(128, 96);
        QTest::newRow("10 %") << QSize(640, 480) << 4 << QSize() << QSize(64, 48);
        QTest::newRow("explicit, proportions ignored")
            << QSize(640, 480) << -1 << QSize(120, 90) << QSize(120, 90);
        QTest::newRow("explicit square") << QSize(640, 480) << -1 << QSize(100, 100) << QSize(100, 100);
        QTest::newRow("larger than the picture") << QSize(64, 48) << -1 << QSize(200, 100) << QSize(200, 100);
        QTest::newRow("width alone keeps proportions")
            << QSize(640, 480) << -1 << QSize(160, 0) << QSize(160, 120);
        QTest::newRow("height alone keeps proportions")
            << QSize(640, 480) << -1 << QSize(0, 60) << QSize(80, 60);
        QTest::newRow("width alone on a tall picture")
            << QSize(300, 900) << -1 << QSize(50, 0) << QSize(50, 150);
        QTest::newRow("height alone, never 0") << QSize(900, 8) << -1 << QSize(0, 1) << QSize(113, 1);
        QTest::newRow("width alone, never 0") << QSize(900, 8) << -1 << QSize(10, 0) << QSize(10, 1);
        QTest::newRow("narrower than the divisor") << QSize(7, 90) << 4 << QSize() << QSize(1, 9);
    }
    void sizesFollowTheOptions()
    {
        QFETCH(QSize, picture);
        QFETCH(int, percentIndex);
        QFETCH(QSize, explicitSize);
        QFETCH(QSize, expected);
        QTemporaryDir dir;
        QVERIFY(writeJpeg(path(dir, "p.jpg"), photoPicture(picture)));
        PageOptions options;
        if (percentIndex >= 0)
            setPercent(options, percentIndex);
        else
            setExplicit(options, explicitSize.width(), explicitSize.height());
        ThumbRecordingFeedback feedback;
        MakeThumbnails(dir.path(), {"p.jpg"}, options, feedback);
        QCOMPARE(feedback.messages, QStringList());
        QCOMPARE(thumbnail(dir, "sm_p.jpg").size(), expected);
    }

    void writesBaselineTrueColourAtQuality90_data()
    {
        QTest::addColumn<int>("colour");
        QTest::newRow("colour picture") << int(Colour::Rgb);
        QTest::newRow("grayscale picture") << int(Colour::Gray);
        QTest::newRow("CMYK picture") << int(Colour::AdobeCmyk);
    }
    void writesBaselineTrueColourAtQuality90()
    {
        QFETCH(int, colour);
        QTemporaryDir dir;
        Jpeg how;
        how.colour = Colour(colour);
        how.progressive = true;
        QVERIFY(writeJpeg(path(dir, "a.jpg"), photoPicture({160, 120}), how));
        PageOptions options;
        setPercent(options, 0);
        ThumbRecordingFeedback feedback;
        MakeThumbnails(dir.path(), {"a.jpg"}, options, feedback);
        const JpegFacts f = facts(readFile(path(dir, "sm_a.jpg")));
        QVERIFY(f.baseline);
        QCOMPARE(f.components, 3);
        QCOMPARE(f.precision, 8);
        QCOMPARE(f.size, QSize(80, 60));
        QCOMPARE(f.firstLumaQuant, 3); // libjpeg's standard luminance table (16) scaled for quality 90
    }

    void turnsPicturesUpright_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<bool>("littleEndian");
        for (int o = 1; o <= 8; ++o)
            QTest::addRow("orientation %d", o) << o << false;
        QTest::newRow("orientation 6, Intel byte order") << 6 << true;
        QTest::newRow("orientation 7, Intel byte order") << 7 << true;
    }
    void turnsPicturesUpright()
    {
        QFETCH(int, orientation);
        QFETCH(bool, littleEndian);
        QTemporaryDir dir;
        Jpeg how;
        how.orientation = orientation;
        how.bigEndianExif = !littleEndian;
        // Shown 96 x 64; stored 64 x 96 for orientations 5 to 8.
        QVERIFY(writeJpeg(path(dir, "a.jpg"), edgePicture({96, 64}), how));
        PageOptions options;
        setPercent(options, 0);
        ThumbRecordingFeedback feedback;
        MakeThumbnails(dir.path(), {"a.jpg"}, options, feedback);
        const QImage t = thumbnail(dir, "sm_a.jpg");
        QCOMPARE(t.size(), QSize(48, 32));
        auto near = [](QColor c, int r, int g, int b) {
            return qAbs(c.red() - r) < 40 && qAbs(c.green() - g) < 40 && qAbs(c.blue() - b) < 40;
        };
        const QColor top = meanColour(t, QRect(20, 0, 8, 2));
        const QColor left = meanColour(t, QRect(0, 14, 2, 4));
        const QColor right = meanColour(t, QRect(46, 14, 2, 4));
        const QColor bottom = meanColour(t, QRect(20, 30, 8, 2));
        QVERIFY2(near(top, 255, 0, 0), qPrintable(top.name()));
        QVERIFY2(near(left, 0, 200, 0), qPrintable(left.name()));
        QVERIFY2(near(right, 0, 0, 255), qPrintable(right.name()));
        QVERIFY2(near(bottom, 255, 255, 255), qPrintable(bottom.name()));
    }

    void keepsColours_data()
    {
        QTest::addColumn<Jpeg>("how");
        QTest::addColumn<QColor>("colour");
        const QColor orange(210, 120, 40);
        Jpeg rgb, gray, cmyk, adobe, ycck, progressive, arithmetic, restarts;
        gray.colour = Colour::Gray;
        cmyk.colour = Colour::Cmyk;
        adobe.colour = Colour::AdobeCmyk;
        ycck.colour = Colour::AdobeYcck;
        progressive.progressive = true;
        arithmetic.arithmetic = true;
        restarts.restartRows = 1;
        QTest::newRow("RGB") << rgb << orange;
        QTest::newRow("grayscale gives grey") << gray << QColor(143, 143, 143);
        QTest::newRow("plain CMYK") << cmyk << orange;
        QTest::newRow("Adobe inverted CMYK") << adobe << orange;
        QTest::newRow("Adobe YCCK") << ycck << orange;
        QTest::newRow("progressive") << progressive << orange;
        QTest::newRow("arithmetic coded") << arithmetic << orange;
        QTest::newRow("restart markers") << restarts << orange;
        Jpeg adobeBlue = adobe;
        QTest::newRow("Adobe CMYK, dark blue") << adobeBlue << QColor(30, 40, 120);
    }
    void keepsColours()
    {
        QFETCH(Jpeg, how);
        QFETCH(QColor, colour);
        QTemporaryDir dir;
        const QColor source = how.colour == Colour::Gray ? QColor(210, 120, 40) : colour;
        QVERIFY(writeJpeg(path(dir, "a.jpg"), solidPicture({200, 150}, source), how));
        PageOptions options;
        setPercent(options, 4);
        ThumbRecordingFeedback feedback;
        MakeThumbnails(dir.path(), {"a.jpg"}, options, feedback);
        QCOMPARE(feedback.messages, QStringList());
        const QImage t = thumbnail(dir, "sm_a.jpg");
        QCOMPARE(t.size(), QSize(20, 15));
        const QColor got = meanColour(t, t.rect());
        const int tolerance = 8;
        QVERIFY2(qAbs(got.red() - colour.red()) <= tolerance &&
                     qAbs(got.green() - colour.green()) <= tolerance &&
                     qAbs(got.blue() - colour.blue()) <= tolerance,
                 qPrintable(got.name() + " for " + colour.name()));
    }

    void makesWhatCanBeReadOfACutPicture()
    {
        QTemporaryDir dir;
        const QByteArray whole = jpeg(edgePicture({320, 240}));
        QVERIFY(writeFile(path(dir, "cut.jpg"), whole.left(whole.size() * 6 / 10)));
        PageOptions options;
        setPercent(options, 0);
        ThumbRecordingFeedback feedback;
        MakeThumbnails(dir.path(), {"cut.jpg"}, options, feedback);
        QCOMPARE(feedback.messages, QStringList());
        const QImage t = thumbnail(dir, "sm_cut.jpg");
        QCOMPARE(t.size(), QSize(160, 120));
        const QColor top = meanColour(t, QRect(60, 0, 40, 4));
        QVERIFY2(top.red() > 200 && top.green() < 60, qPrintable(top.name())); // the decoded part is there
    }

    void makesOnlyJpgThumbnailsAndStepsForEveryName()
    {
        QTemporaryDir dir;
        for (const char *name : {"a.jpg", "C.JPG", "d.jpeg"})
            QVERIFY(writeJpeg(path(dir, name), photoPicture({64, 48})));
        QVERIFY(writeFile(path(dir, "b.gif"), "GIF89a"));
        PageOptions options;
        setPercent(options, 0);
        ThumbRecordingFeedback feedback;
        MakeThumbnails(dir.path(), {"a.jpg", "b.gif", "C.JPG", "d.jpeg"}, options, feedback);
        QCOMPARE(feedback.calls, QStringList({"max 4", "show", "step", "step", "step", "step"}));
        QVERIFY(feedback.eventRuns >= 4);
        QStringList made = QDir(dir.path()).entryList({"sm_*"}, QDir::Files | QDir::Hidden);
        made.sort();
        QCOMPARE(made, QStringList({"sm_C.JPG", "sm_a.jpg"})); // the names the page refers to
        QCOMPARE(leftovers(dir), QStringList());
    }

    void replacesAnOldThumbnailAndThumbnailsIt()
    {
        QTemporaryDir dir;
        QVERIFY(writeJpeg(path(dir, "a.jpg"), photoPicture({200, 100})));
        QVERIFY(writeJpeg(path(dir, "sm_a.jpg"), photoPicture({30, 30}))); // from an earlier run
        PageOptions options;
        setPercent(options, 0);
        ThumbRecordingFeedback feedback;
        MakeThumbnails(dir.path(), {"a.jpg", "sm_a.jpg"}, options, feedback);
        QCOMPARE(feedback.messages, QStringList());
        QCOMPARE(thumbnail(dir, "sm_a.jpg").size(), QSize(100, 50));
        // Made from the new thumbnail, as the list order says.
        QCOMPARE(thumbnail(dir, "sm_sm_a.jpg").size(), QSize(50, 25));
    }

    void reportsEachBadPictureOnceAndGoesOn_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("garbage") << QByteArray("this is not a picture");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("bare start marker") << QByteArray("\xFF\xD8", 2);
        QTest::newRow("PNG named .jpg") << QByteArray("\x89PNG\r\n\x1a\n0000", 12);
        QTest::newRow("cut inside the header") << jpeg(photoPicture({64, 64})).left(100);
        QTest::newRow("declares 20000 x 20000 pixels") << declaredSizeBomb(20000, 20000);
        QTest::newRow("declares 65500 x 65500 pixels") << declaredSizeBomb(65500, 65500);
        QTest::newRow("progressive with 300 scans") << scanBomb(300);
    }
    void reportsEachBadPictureOnceAndGoesOn()
    {
        QFETCH(QByteArray, content);
        QTemporaryDir dir;
        QVERIFY(writeJpeg(path(dir, "a.jpg"), photoPicture({40, 30})));
        QVERIFY(writeFile(path(dir, "x.jpg"), content));
        QVERIFY(writeJpeg(path(dir, "z.jpg"), photoPicture({40, 30})));
        PageOptions options;
        setPercent(options, 0);
        ThumbRecordingFeedback feedback;
        MakeThumbnails(dir.path(), {"a.jpg", "x.jpg", "z.jpg"}, options, feedback);
        QCOMPARE(withoutReasons(feedback.calls),
                 QStringList({"max 3", "show", "step", "message: Error Creating Thumbnail from x.jpg", "step",
                              "step"}));
        QVERIFY2(feedback.messages.at(0).size() >
                     QStringLiteral("Error Creating Thumbnail from x.jpg: ").size(),
                 "says why");
        QVERIFY(QFileInfo::exists(path(dir, "sm_a.jpg")));
        QVERIFY(!QFileInfo::exists(path(dir, "sm_x.jpg")));
        QCOMPARE(thumbnail(dir, "sm_z.jpg").size(), QSize(20, 15));
        QCOMPARE(leftovers(dir), QStringList());
    }

    void refusesFilesThatAreNotPictures()
    {
        QTemporaryDir dir;
        QVERIFY(QFile::link("/dev/zero", path(dir, "zero.jpg")));
        QVERIFY(::mkfifo(QFile::encodeName(path(dir, "pipe.jpg")).constData(), 0600) == 0);
        QVERIFY(QDir(dir.path()).mkdir("folder.jpg"));
        QVERIFY(writeJpeg(path(dir, "ok.jpg"), photoPicture({40, 30})));
        PageOptions options;
        setPercent(options, 0);
        ThumbRecordingFeedback feedback;
        MakeThumbnails(dir.path(), {"zero.jpg", "pipe.jpg", "folder.jpg", "ok.jpg"}, options, feedback);
        QCOMPARE(feedback.messages,
                 QStringList({"Error Creating Thumbnail from zero.jpg: not a regular file",
                              "Error Creating Thumbnail from pipe.jpg: not a regular file",
                              "Error Creating Thumbnail from folder.jpg: not a regular file"}));
        QVERIFY(QFileInfo::exists(path(dir, "sm_ok.jpg")));
    }

    void neverWritesThroughALinkAtTheThumbnailName()
    {
        QTemporaryDir dir;
        QTemporaryDir outside;
        const QString victim = outside.filePath("victim.txt");
        QVERIFY(writeFile(victim, "keep me"));
        QVERIFY(writeJpeg(path(dir, "a.jpg"), photoPicture({40, 30})));
        QVERIFY(QFile::link(victim, path(dir, "sm_a.jpg")));
        QVERIFY(QFile::link(outside.filePath("nothing-yet.jpg"), path(dir, "sm_b.jpg"))); // dangling
        QVERIFY(writeJpeg(path(dir, "b.jpg"), photoPicture({40, 30})));
        PageOptions options;
        setPercent(options, 0);
        ThumbRecordingFeedback feedback;
        MakeThumbnails(dir.path(), {"a.jpg", "b.jpg"}, options, feedback);
        QCOMPARE(
            feedback.messages,
            QStringList(
                {"Error Creating Thumbnail from a.jpg: sm_a.jpg is not a thumbnail of ours and is kept",
                 "Error Creating Thumbnail from b.jpg: sm_b.jpg is not a thumbnail of ours and is kept"}));
        QCOMPARE(readFile(victim), QByteArray("keep me"));
        QVERIFY(QFileInfo(path(dir, "sm_a.jpg")).isSymLink());
        QVERIFY(!QFileInfo::exists(outside.filePath("nothing-yet.jpg")));
        QCOMPARE(leftovers(dir), QStringList());
    }

    void followsTheListAsItChanges()
    {
        QTemporaryDir dir;
        const QStringList names{"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"};
        for (int i = 0; i < names.size(); ++i) // widths 80, 100, 120, 140, 160 tell the pictures apart
            QVERIFY(writeJpeg(path(dir, names[i]), photoPicture({80 + 20 * i, 60})));
        QStringList list{"a.jpg", "b.jpg", "c.jpg", "d.jpg"};
        PageOptions options;
        setPercent(options, 0);
        ThumbRecordingFeedback feedback;
        int changes = 0;
        feedback.onEvents = [&](int steps) {
            if (steps == 1 && changes == 0) { // the person edits the list while a.jpg's turn ends
                ++changes;
                list.removeAt(2);     // c.jpg goes, though its picture may already be decoded ahead
                list.append("e.jpg"); // the length is read again: e.jpg comes
            }
            if (steps == 3 && changes == 1) { // and the options after d.jpg
                ++changes;
                options.choosePercent(4);
            }
        };
        MakeThumbnails(dir.path(), list, options, feedback);
        QCOMPARE(feedback.steps, 4);
        QCOMPARE(thumbnail(dir, "sm_a.jpg").size(), QSize(40, 30));
        QCOMPARE(thumbnail(dir, "sm_b.jpg").size(), QSize(50, 30));
        QVERIFY(!QFileInfo::exists(path(dir, "sm_c.jpg")));
        QCOMPARE(thumbnail(dir, "sm_d.jpg").size(), QSize(70, 30));
        QCOMPARE(thumbnail(dir, "sm_e.jpg").size(), QSize(16, 6)); // options read when the picture is made
    }

    void manyPicturesKeepTheirOrder()
    {
        QTemporaryDir dir;
        QStringList list;
        for (int i = 0; i < 12; ++i) {
            const QString name = QStringLiteral("p%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
            list << name;
            if (i % 4 == 1)
                QVERIFY(writeFile(path(dir, name), "broken"));
            else
                QVERIFY(writeJpeg(path(dir, name), photoPicture({60 + i * 8, 40})));
        }
        PageOptions options;
        setPercent(options, 0);
        ThumbRecordingFeedback feedback;
        MakeThumbnails(dir.path(), list, options, feedback);
        QStringList expected{"max 12", "show"};
        for (int i = 0; i < 12; ++i) {
            if (i % 4 == 1)
                expected << "message: Error Creating Thumbnail from " + list[i];
            expected << "step";
        }
        QCOMPARE(withoutReasons(feedback.calls), expected);
        for (int i = 0; i < 12; ++i)
            if (i % 4 != 1)
                QCOMPARE(thumbnail(dir, "sm_" + list[i]).width(), (60 + i * 8) / 2);
    }

    // Which sm_ files the clean-up deletes: ours, and JPEGs whose picture is beside them under either
    // spelling of the thumbnail's name. Everything else is the person's.
    void cleanUpDeletesOnlyThumbnails_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");    // photo, ours (with our marker), text, png, link, folder
        QTest::addColumn<QString>("picture"); // written beside it, when not empty
        QTest::addColumn<bool>("deleted");
        QTest::newRow("thumbnail beside its picture") << "sm_a.jpg"
                                                      << "photo"
                                                      << "a.jpg" << true;
        QTest::newRow("older spelling, picture A.JPG") << "sm_A.jpg"
                                                       << "photo"
                                                       << "A.JPG" << true;
        QTest::newRow("older spelling, picture b.Jpg") << "sm_b.jpg"
                                                       << "photo"
                                                       << "b.Jpg" << true;
        QTest::newRow("own extension kept, picture C.JPG") << "sm_C.JPG"
                                                           << "photo"
                                                           << "C.JPG" << true;
        QTest::newRow("orphan thumbnail of ours") << "sm_gone.jpg"
                                                  << "ours"
                                                  << "" << true;
        QTest::newRow("orphan of ours, upper-case ending") << "sm_GONE.JPG"
                                                           << "ours"
                                                           << "" << true;
        QTest::newRow("a person's photo sm_photo.jpg") << "sm_photo.jpg"
                                                       << "photo"
                                                       << "" << false;
        QTest::newRow("a person's photo beside photo.gif") << "sm_photo.jpg"
                                                           << "photo"
                                                           << "photo.gif" << false;
        QTest::newRow("a copy of our thumbnail of a.jpg, alone") << "sm_holiday.jpg"
                                                                 << "copy of sm_a.jpg"
                                                                 << "" << false;
        QTest::newRow("a copy of our thumbnail of a.jpg, beside holiday.jpg") << "sm_holiday.jpg"
                                                                              << "copy of sm_a.jpg"
                                                                              << "holiday.jpg" << false;
        QTest::newRow("SM_ in capitals") << "SM_Holiday.JPG"
                                         << "ours"
                                         << "Holiday.JPG" << false;
        QTest::newRow("Sm_ mixed") << "Sm_mixed.jpg"
                                   << "ours"
                                   << "mixed.jpg" << false;
        QTest::newRow("sm_x.jpg that is a PNG, x.jpg beside") << "sm_x.jpg"
                                                              << "png"
                                                              << "x.jpg" << false;
        QTest::newRow("sm_x.jpg that is a PNG alone") << "sm_x.jpg"
                                                      << "png"
                                                      << "" << false;
        QTest::newRow("sm_ text file") << "sm_notes.txt"
                                       << "text"
                                       << "notes.txt" << false;
        QTest::newRow("not ending in .jpg") << "sm_d.jpeg"
                                            << "ours"
                                            << "d.jpeg" << false;
        QTest::newRow("link to a thumbnail") << "sm_l.jpg"
                                             << "link"
                                             << "l.jpg" << false;
        QTest::newRow("folder named like one") << "sm_f.jpg"
                                               << "folder"
                                               << "f.jpg" << false;
    }
    void cleanUpDeletesOnlyThumbnails()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, picture);
        QFETCH(bool, deleted);
        QTemporaryDir dir;
        QTemporaryDir outside;
        const QByteArray photo = jpeg(photoPicture({20, 20}));
        const QString file = path(dir, name);
        if (!picture.isEmpty())
            QVERIFY(writeFile(path(dir, picture), photo));
        QByteArray content = photo;
        if (kind == "ours" || kind == "copy of sm_a.jpg") {
            PictureStamp stamp;
            stamp.name = kind == "ours" ? QFile::encodeName(name.mid(3)) : QByteArray("a.jpg");
            const RenderedThumbnail made = renderThumbnail(photo, ThumbnailRequest{}, stamp);
            QVERIFY(made.ok());
            content = made.jpeg;
        } else if (kind == "text") {
            content = "my notes";
        } else if (kind == "png") {
            content = QByteArray("\x89PNG\r\n\x1a\n0000", 12);
        }
        if (kind == "link") {
            QVERIFY(writeFile(outside.filePath("target.jpg"), photo));
            QVERIFY(QFile::link(outside.filePath("target.jpg"), file));
        } else if (kind == "folder") {
            QVERIFY(QDir(dir.path()).mkdir(name));
        } else {
            QVERIFY(writeFile(file, content));
        }
        QStringList list{picture, name, "other.jpg"};
        CleanUpThumbnails(dir.path(), list);
        // sm_ names (that case) always leave the working list.
        QCOMPARE(list, name.startsWith("sm_") ? QStringList({picture, "other.jpg"})
                                              : QStringList({picture, name, "other.jpg"}));
        QCOMPARE(!QFileInfo(file).exists() && !QFileInfo(file).isSymLink(), deleted);
        if (!deleted && kind != "folder")
            QCOMPARE(readFile(file), kind == "link" ? photo : content);
        if (!picture.isEmpty())
            QCOMPARE(readFile(path(dir, picture)), photo);
    }

    // The maker replaces only what the clean-up would delete; a new thumbnail gets a new file's mode.
    void replacesOnlyWhatTheCleanUpWouldDelete_data()
    {
        QTest::addColumn<QByteArray>("existing");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("replaced");
        const QByteArray png("\x89PNG\r\n\x1a\n0000", 12);
        QTest::newRow("a PNG") << png << 0644 << false;
        QTest::newRow("a GIF") << QByteArray("GIF89a\x01\x00\x01\x00\x00\x00\x00;", 14) << 0644 << false;
        QTest::newRow("a text") << QByteArray("my notes") << 0644 << false;
        QTest::newRow("an earlier JPEG thumbnail") << jpeg(photoPicture({30, 30})) << 0644 << true;
        // What a thumbnail written just before a crash may be left as: it holds nothing to keep.
        QTest::newRow("an empty file") << QByteArray() << 0644 << true;
        QTest::newRow("an earlier thumbnail, mode 0600") << jpeg(photoPicture({30, 30})) << 0600 << true;
        QTest::newRow("an earlier thumbnail, mode 0444") << jpeg(photoPicture({30, 30})) << 0444 << true;
    }
    void replacesOnlyWhatTheCleanUpWouldDelete()
    {
        QFETCH(QByteArray, existing);
        QFETCH(int, mode);
        QFETCH(bool, replaced);
        QTemporaryDir dir;
        QVERIFY(writeJpeg(path(dir, "x.jpg"), photoPicture({200, 100})));
        QVERIFY(writeFile(path(dir, "sm_x.jpg"), existing));
        QCOMPARE(::chmod(QFile::encodeName(path(dir, "sm_x.jpg")).constData(), mode_t(mode)), 0);
        PageOptions options;
        setPercent(options, 0);
        ThumbRecordingFeedback feedback;
        const ThumbnailOutcome outcome = MakeThumbnails(dir.path(), {"x.jpg"}, options, feedback);
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(path(dir, "sm_x.jpg")).constData(), &st), 0);
        if (replaced) {
            QCOMPARE(feedback.messages, QStringList());
            QCOMPARE(outcome.failed, 0);
            QCOMPARE(thumbnail(dir, "sm_x.jpg").size(), QSize(100, 50));
            QCOMPARE(int(st.st_mode & 07777), int(SafeFile::newFileMode()));
        } else {
            QCOMPARE(
                feedback.messages,
                QStringList{
                    "Error Creating Thumbnail from x.jpg: sm_x.jpg is not a thumbnail of ours and is kept"});
            QCOMPARE(outcome.failed, 1);
            QCOMPARE(readFile(path(dir, "sm_x.jpg")), existing);
            QCOMPARE(int(st.st_mode & 07777), mode);
        }
        QCOMPARE(leftovers(dir), QStringList());
    }

    void newThumbnailsGetANewFilesMode()
    {
        QTemporaryDir dir;
        QVERIFY(writeJpeg(path(dir, "a.jpg"), photoPicture({64, 48})));
        QCOMPARE(::chmod(QFile::encodeName(path(dir, "a.jpg")).constData(), 0600), 0);
        PageOptions options;
        setPercent(options, 0);
        ThumbRecordingFeedback feedback;
        MakeThumbnails(dir.path(), {"a.jpg"}, options, feedback);
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(path(dir, "sm_a.jpg")).constData(), &st), 0);
        const mode_t mask = ::umask(022);
        ::umask(mask);
        QCOMPARE(int(st.st_mode & 07777), int(0666 & ~mask));
        const auto marker = readThumbnailMarker(path(dir, "sm_a.jpg"));
        QVERIFY(marker.has_value());
        QCOMPARE(marker->sourceBytes, QFileInfo(path(dir, "a.jpg")).size());
        QCOMPARE(marker->target, QSize(32, 24));
        QCOMPARE(marker->sourceName, QByteArray("a.jpg"));
        QCOMPARE(::stat(QFile::encodeName(path(dir, "a.jpg")).constData(), &st), 0);
        QCOMPARE(marker->sourceInode, quint64(st.st_ino));
        QCOMPARE(marker->sourceCtimeNs, qint64(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec);
    }

    // A picture too large to decode costs its own thumbnail only.
    void aHugePictureCostsOnlyItsThumbnail()
    {
        QTemporaryDir dir;
        QVERIFY(writeJpeg(path(dir, "a.jpg"), photoPicture({40, 30})));
        QVERIFY(writeFile(path(dir, "BIG.JPG"), declaredSizeBomb(12000, 9000)));
        QVERIFY(writeJpeg(path(dir, "z.jpg"), photoPicture({40, 30})));
        PageOptions options;
        setPercent(options, 0);
        ThumbRecordingFeedback feedback;
        const ThumbnailOutcome outcome =
            MakeThumbnails(dir.path(), {"a.jpg", "BIG.JPG", "z.jpg"}, options, feedback);
        QCOMPARE(outcome.failed, 1);
        QCOMPARE(
            feedback.messages,
            QStringList{
                "Error Creating Thumbnail from BIG.JPG: 12000x9000 exceeds the limit of 100000000 pixels"});
        QVERIFY(QFileInfo::exists(path(dir, "sm_a.jpg")));
        QVERIFY(QFileInfo::exists(path(dir, "sm_z.jpg")));
    }

    // Once the folder entered is gone from its path, the maker stops at once.
    void stopsWhenTheFolderVanishes()
    {
        QTemporaryDir dir;
        QStringList list;
        for (int i = 0; i < 6; ++i) {
            list << QStringLiteral("p%1.jpg").arg(i);
            QVERIFY(writeJpeg(path(dir, list.last()), photoPicture({40, 30})));
        }
        PageOptions options;
        setPercent(options, 0);
        ThumbRecordingFeedback feedback;
        int asked = 0;
        const ThumbnailOutcome outcome =
            MakeThumbnails(dir.path(), list, options, feedback, [&] { return ++asked <= 2; });
        QVERIFY(outcome.folderVanished);
        QCOMPARE(outcome.failed, 0);
        QCOMPARE(feedback.messages, QStringList());
        QCOMPARE(QDir(dir.path()).entryList({"sm_*"}, QDir::Files).size(), 2);
    }

    void cleanUpThenMakeLeavesFreshThumbnails()
    {
        QTemporaryDir dir;
        QVERIFY(writeJpeg(path(dir, "a.jpg"), photoPicture({64, 48})));
        QVERIFY(writeJpeg(path(dir, "Big Picture.JPG"), photoPicture({64, 48})));
        QStringList list{"a.jpg", "Big Picture.JPG"};
        PageOptions options;
        setPercent(options, 0);
        ThumbRecordingFeedback feedback;
        MakeThumbnails(dir.path(), list, options, feedback);
        // what the maker writes counts, under the names the page refers to
        QCOMPARE(thumbnailFilesIn(dir.path()), QStringList({"sm_Big Picture.JPG", "sm_a.jpg"}));
        list << "sm_a.jpg"
             << "sm_Big Picture.JPG";
        CleanUpThumbnails(dir.path(), list);
        QCOMPARE(list, QStringList({"a.jpg", "Big Picture.JPG"}));
        QCOMPARE(thumbnailFilesIn(dir.path()), QStringList());
        QVERIFY(QFileInfo::exists(path(dir, "a.jpg")));
    }
};

QTEST_GUILESS_MAIN(TestThumbnailMaker)
#include "tst_ThumbnailMaker.moc"
