// SPDX-License-Identifier: GPL-2.0-or-later
// The viewer's readers and rules without a window: the page table, the name and size bar, the bitmap
// depth from the file's own header, the GIF counts and the limits every picture is decoded under.
#include "media/BmpHeader.h"
#include "media/GifInfo.h"
#include "media/JpegPicture.h"
#include "media/Metafile.h"
#include "viewing/ViewerLoad.h"
#include "viewing/ViewerTexts.h"
#include "support/ThumbFixtures.h"
#include "support/ViewerFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

using namespace ViewerTexts;

class tst_ViewerReaders : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        [&] { QVERIFY(ThumbFixtures::writeFile(path, bytes)); }();
        return path;
    }

private Q_SLOTS:
    void pageTable_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<int>("page");
        QTest::newRow("gif") << "a.gif"
                             << ".gif" << 1;
        QTest::newRow("upper-case jpg") << "photo.JPG"
                                        << ".jpg" << 2;
        QTest::newRow("jpeg is no entry") << "photo.jpeg"
                                          << ".jpeg" << 0;
        QTest::newRow("bmp") << "b.bmp"
                             << ".bmp" << 3;
        QTest::newRow("wmf") << "c.wmf"
                             << ".wmf" << 4;
        QTest::newRow("emf") << "c.emf"
                             << ".emf" << 4;
        QTest::newRow("ico") << "c.ico"
                             << ".ico" << 4;
        QTest::newRow("mp3") << "s.mp3"
                             << ".mp3" << 5;
        QTest::newRow("wav") << "s.WAV"
                             << ".wav" << 5;
        QTest::newRow("mid") << "s.mid"
                             << ".mid" << 5;
        QTest::newRow("aiff") << "s.aiff"
                              << ".aiff" << 5;
        QTest::newRow("substring .mp") << "x.mp"
                                       << ".mp" << 5;
        QTest::newRow("substring .g") << "x.g"
                                      << ".g" << 1;
        QTest::newRow("last dot counts") << "a.gif.txt"
                                         << ".txt" << 0;
        QTest::newRow("bare dot") << "name."
                                  << "." << 1;
        QTest::newRow("no dot") << "README"
                                << "" << 0;
        QTest::newRow("png") << "p.png"
                             << ".png" << 0;
    }
    void pageTable()
    {
        QFETCH(QString, name);
        QFETCH(QString, extension);
        QFETCH(int, page);
        QCOMPARE(extensionOf(name.toLower()), extension);
        QCOMPARE(pageFor(extensionOf(name.toLower())), page);
    }

    void nameSizeBar_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("figure");
        QTest::newRow("0") << qint64(0) << "0 Bytes";
        QTest::newRow("1024") << qint64(1024) << "1024 Bytes";
        QTest::newRow("1025") << qint64(1025) << "1.1 KB";
        QTest::newRow("1536") << qint64(1536) << "1.51 KB";
        QTest::newRow("2048") << qint64(2048) << "2.0 KB";
        QTest::newRow("1048575") << qint64(1048575) << "1023.10 KB";
        QTest::newRow("1048576") << qint64(1048576) << "1.0 MB";
        QTest::newRow("1100000") << qint64(1100000) << "1.51 MB";
        // Beyond 2 GiB the figure keeps its rule and never turns negative.
        QTest::newRow("3 GiB + 5") << (qint64(3) << 30) + 5 << "3072.5 MB";
        QTest::newRow("2 GiB") << (qint64(2) << 30) << "2048.0 MB";
    }
    void nameSizeBar()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, figure);
        QCOMPARE(nameSizeText("photo.JPG", bytes), " PHOTO.JPG    Size - " + figure);
    }

    void soundPictures_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("picture");
        QTest::newRow("mp3") << ".mp3"
                             << "mp3.jpg";
        QTest::newRow("wav") << ".wav"
                             << "wav.jpg";
        QTest::newRow("mid") << ".mid"
                             << "midi.jpg";
        QTest::newRow("rmi has none") << ".rmi"
                                      << "";
        QTest::newRow("avi has none") << ".avi"
                                      << "";
    }
    void soundPictures()
    {
        QFETCH(QString, extension);
        QFETCH(QString, picture);
        QCOMPARE(soundPictureFor(extension), picture);
    }

    void bitmapDepths_data()
    {
        QTest::addColumn<int>("depth");
        QTest::addColumn<qint64>("colours");
        QTest::newRow("1-bit") << 1 << qint64(2);
        QTest::newRow("4-bit") << 4 << qint64(16);
        QTest::newRow("8-bit") << 8 << qint64(256);
        QTest::newRow("16-bit 5-5-5") << 15 << qint64(32768);
        QTest::newRow("16-bit 5-6-5") << 16 << qint64(65536);
        QTest::newRow("24-bit") << 24 << qint64(16777216);
        QTest::newRow("32-bit") << 32 << qint64(16777216);
    }
    void bitmapDepths()
    {
        QFETCH(int, depth);
        QFETCH(qint64, colours);
        const BmpHeader header = readBmpHeader(ViewerFixtures::bmp(7, 3, depth));
        QVERIFY2(header.ok, qPrintable(header.error));
        QCOMPARE(header.width, 7);
        QCOMPARE(header.height, 3);
        QCOMPARE(header.bitsPerPixel, depth);
        QCOMPARE(bmpColourCount(header.bitsPerPixel), colours);
        const ViewerPicture picture =
            loadViewerBmp(write(QString("d%1.bmp").arg(depth), ViewerFixtures::bmp(7, 3, depth)));
        QVERIFY2(picture.ok, qPrintable(picture.error));
        QCOMPARE(picture.image.size(), QSize(7, 3));
        QCOMPARE(picture.bitsPerPixel, depth);
    }

    void bitmapHeaderFaults_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("depth");
        const QByteArray good = ViewerFixtures::bmp(4, 4, 24);
        QByteArray twoBit = good;
        twoBit[28] = 2;
        QByteArray topDown = good;
        qToLittleEndian<qint32>(-4, topDown.data() + 22);
        QByteArray oddHeader = good;
        qToLittleEndian<quint32>(20, oddHeader.data() + 14);
        QByteArray noWidth = good;
        qToLittleEndian<qint32>(0, noWidth.data() + 18);
        QTest::newRow("empty") << QByteArray() << false << 0;
        QTest::newRow("not BM") << QByteArray("GIF89a") << false << 0;
        QTest::newRow("cut in the header") << good.left(30) << false << 0;
        QTest::newRow("unknown header size") << oddHeader << false << 0;
        QTest::newRow("zero width") << noWidth << false << 0;
        QTest::newRow("top-down rows") << topDown << true << 24;
        QByteArray lowestHeight = good;
        qToLittleEndian<qint32>(std::numeric_limits<qint32>::min(), lowestHeight.data() + 22);
        QTest::newRow("height of the lowest int") << lowestHeight << false << 0;
        QTest::newRow("2-bit is outside the table") << twoBit << true << 0;
    }
    void bitmapHeaderFaults()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        QFETCH(int, depth);
        const BmpHeader header = readBmpHeader(bytes);
        QCOMPARE(header.ok, ok);
        QCOMPARE(header.bitsPerPixel, depth);
        if (ok)
            QCOMPARE(header.height, 4);
        else
            QVERIFY(!header.error.isEmpty());
    }

    void gifCounts_data()
    {
        QTest::addColumn<int>("colours");
        QTest::addColumn<int>("frames");
        QTest::newRow("2 colours, 1 frame") << 2 << 1;
        QTest::newRow("16 colours, 3 frames") << 16 << 3;
        QTest::newRow("256 colours, 7 frames") << 256 << 7;
    }
    void gifCounts()
    {
        QFETCH(int, colours);
        QFETCH(int, frames);
        const GifInfo info = readGifInfo(ViewerFixtures::gif(33, 21, colours, frames));
        QVERIFY2(info.ok, qPrintable(info.error));
        QCOMPARE(info.width, 33);
        QCOMPARE(info.height, 21);
        QCOMPARE(info.globalColours, colours);
        QCOMPARE(info.frames, frames);
    }

    void gifRefusals_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = ViewerFixtures::gif(8, 8, 4, 3);
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a GIF") << QByteArray("\x89PNG\r\n\x1a\n0000000000");
        QTest::newRow("cut in the second frame") << good.left(good.size() - 12);
        QTest::newRow("no terminator") << good.chopped(1);
        QTest::newRow("screen only") << ViewerFixtures::gifScreenOnly(8, 8);
        QTest::newRow("huge screen") << ViewerFixtures::gif(20000, 20000, 2, 0);
        QTest::newRow("thousands of frames") << ViewerFixtures::gif(1, 1, 2, 1001);
    }
    void gifRefusals()
    {
        QFETCH(QByteArray, bytes);
        const GifInfo info = readGifInfo(bytes);
        QVERIFY(!info.ok);
        QVERIFY(!info.error.isEmpty());
    }

    void gifLimitsAreEdges()
    {
        QVERIFY(readGifInfo(ViewerFixtures::gif(1, 1, 2, 1000)).ok);
        GifLimits tight;
        tight.maxTotalFramePixels = 3 * 64;
        QVERIFY(readGifInfo(ViewerFixtures::gif(8, 8, 2, 3), tight).ok);
        QVERIFY(!readGifInfo(ViewerFixtures::gif(8, 8, 2, 4), tight).ok);
    }

    // Upright as the EXIF orientation says, in colour whatever the file's colour space.
    void jpegPictures_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("colour");
        QTest::newRow("rgb") << 1 << int(ThumbFixtures::Colour::Rgb);
        QTest::newRow("turned 6") << 6 << int(ThumbFixtures::Colour::Rgb);
        QTest::newRow("turned 8") << 8 << int(ThumbFixtures::Colour::Rgb);
        QTest::newRow("mirrored 2") << 2 << int(ThumbFixtures::Colour::Rgb);
        QTest::newRow("cmyk") << 1 << int(ThumbFixtures::Colour::Cmyk);
        QTest::newRow("adobe ycck") << 3 << int(ThumbFixtures::Colour::AdobeYcck);
    }
    void jpegPictures()
    {
        QFETCH(int, orientation);
        QFETCH(int, colour);
        ThumbFixtures::Jpeg how;
        how.orientation = orientation;
        how.colour = ThumbFixtures::Colour(colour);
        const QImage shown = ThumbFixtures::edgePicture({64, 40});
        QString error;
        const QImage image = decodeJpegPicture(ThumbFixtures::jpeg(shown, how), &error);
        QVERIFY2(!image.isNull(), qPrintable(error));
        QCOMPARE(image.size(), QSize(64, 40));
        // The red edge is on top, the blue one on the right.
        const QColor top = ThumbFixtures::meanColour(image, {8, 0, 48, 3});
        const QColor right = ThumbFixtures::meanColour(image, {61, 8, 3, 24});
        QVERIFY2(top.red() > 180 && top.blue() < 90, qPrintable(top.name()));
        QVERIFY2(right.blue() > 180 && right.red() < 90, qPrintable(right.name()));
    }

    // Decoded to cover a box: the smallest DCT scale that still covers the picture fitted into the box,
    // upright (a picture turned by its EXIF orientation fits by its turned size); a picture that fits
    // is decoded whole. The own size comes back whatever the scale.
    void jpegDecodedToCoverABox_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QSize>("decoded");
        QTest::newRow("an eighth covers") << 1 << QSize(8, 8) << QSize(8, 6);
        QTest::newRow("a quarter covers") << 1 << QSize(16, 100) << QSize(16, 12);
        QTest::newRow("half is too small") << 1 << QSize(40, 30) << QSize(64, 48);
        QTest::newRow("fits whole") << 1 << QSize(200, 200) << QSize(64, 48);
        QTest::newRow("turned, a quarter covers") << 6 << QSize(12, 16) << QSize(12, 16);
        QTest::newRow("turned, by its turned size") << 6 << QSize(16, 12) << QSize(12, 16);
    }
    void jpegDecodedToCoverABox()
    {
        QFETCH(int, orientation);
        QFETCH(QSize, box);
        QFETCH(QSize, decoded);
        ThumbFixtures::Jpeg how;
        how.orientation = orientation;
        const QSize upright = orientation == 6 ? QSize(48, 64) : QSize(64, 48);
        QString error;
        QSize own;
        const QImage image = decodeJpegPictureToCover(
            ThumbFixtures::jpeg(ThumbFixtures::edgePicture(upright), how), box, &error, &own);
        QVERIFY2(!image.isNull(), qPrintable(error));
        QCOMPARE(image.size(), decoded);
        QCOMPARE(own, upright);
    }

    void grayJpegIsShownInGray()
    {
        ThumbFixtures::Jpeg how;
        how.colour = ThumbFixtures::Colour::Gray;
        QString error;
        const QImage image = decodeJpegPicture(
            ThumbFixtures::jpeg(ThumbFixtures::solidPicture({16, 16}, QColor(200, 60, 60)), how), &error);
        QVERIFY2(!image.isNull(), qPrintable(error));
        const QColor c = image.pixelColor(8, 8);
        QCOMPARE(c.red(), c.green());
        QCOMPARE(c.green(), c.blue());
    }

    // Every damaged or hostile file fails with a reason and leaves no picture.
    void loadFailures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray bmp = ViewerFixtures::bmp(16, 16, 8);
        QByteArray hugeBmp = ViewerFixtures::bmp(4, 4, 24);
        qToLittleEndian<qint32>(20000, hugeBmp.data() + 18);
        qToLittleEndian<qint32>(20000, hugeBmp.data() + 22);
        QTest::newRow("gif garbage") << "a.gif" << QByteArray("GIF89a garbage");
        QTest::newRow("gif bomb") << "b.gif" << ViewerFixtures::gif(20000, 20000, 2, 0);
        QTest::newRow("jpeg garbage") << "a.jpg" << QByteArray(300, 'x');
        const QByteArray photo = ThumbFixtures::jpeg(ThumbFixtures::photoPicture({64, 48}));
        QTest::newRow("jpeg cut short") << "cut.jpg" << photo.left(photo.size() * 2 / 3);
        QTest::newRow("jpeg bomb") << "b.jpg" << ThumbFixtures::declaredSizeBomb(30000, 30000);
        QTest::newRow("jpeg scan bomb") << "c.jpg" << ThumbFixtures::scanBomb(150);
        QTest::newRow("bmp cut short") << "a.bmp" << bmp.left(bmp.size() / 2 - 200);
        QTest::newRow("bmp bomb") << "b.bmp" << hugeBmp;
        QTest::newRow("empty bmp") << "c.bmp" << QByteArray();
        QTest::newRow("ico garbage") << "a.ico" << QByteArray(64, '\x01');
    }
    void loadFailures()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        const QString path = write(name, bytes);
        ViewerPicture picture;
        if (name.endsWith(".gif"))
            picture = loadViewerGif(path);
        else if (name.endsWith(".jpg"))
            picture = loadViewerJpeg(path);
        else if (name.endsWith(".bmp"))
            picture = loadViewerBmp(path);
        else
            picture = loadViewerWin(path);
        QVERIFY(!picture.ok);
        QVERIFY(!picture.error.isEmpty());
        QVERIFY(picture.image.isNull());
        QVERIFY(picture.gifData.isEmpty());
    }

    // Our own metafiles of both kinds really show: the blue left half and the red ellipse on the right.
    // A drawing larger than a screen shows is drawn scaled down, its proportions kept.
    void metafilesShow_data()
    {
        QTest::addColumn<bool>("enhanced");
        QTest::addColumn<QSize>("declared");
        QTest::addColumn<QSize>("size");
        QTest::newRow("emf") << true << QSize(120, 80) << QSize(120, 80);
        QTest::newRow("wmf") << false << QSize(120, 80) << QSize(120, 80);
        QTest::newRow("small emf") << true << QSize(17, 9) << QSize(17, 9);
        QTest::newRow("huge emf") << true << QSize(60000, 30000) << QSize(2560, 1280);
        QTest::newRow("huge wmf") << false << QSize(30000, 15000) << QSize(2560, 1280);
        QTest::newRow("tall wmf") << false << QSize(3000, 32000) << QSize(240, 2560);
    }
    void metafilesShow()
    {
        QFETCH(bool, enhanced);
        QFETCH(QSize, declared);
        QFETCH(QSize, size);
        const QByteArray bytes = enhanced ? ViewerFixtures::emf(declared.width(), declared.height())
                                          : ViewerFixtures::wmf(declared.width(), declared.height());
        QString error;
        const QImage image = enhanced ? renderEmf(bytes, &error) : renderWmf(bytes, &error);
        QVERIFY2(!image.isNull(), qPrintable(error));
        QCOMPARE(image.size(), size);
        const QColor left = image.pixelColor(size.width() / 4, size.height() / 2);
        const QColor right = image.pixelColor(size.width() * 3 / 4, size.height() / 2);
        QVERIFY2(left.blue() > 150 && left.red() < 80, qPrintable(left.name()));
        QVERIFY2(right.red() > 150 && right.blue() < 80, qPrintable(right.name()));
        const ViewerPicture picture = loadViewerWin(write(enhanced ? "m.emf" : "m.wmf", bytes));
        QVERIFY2(picture.ok, qPrintable(picture.error));
        QCOMPARE(picture.image.size(), size);
    }

    void metafileRefusals_data()
    {
        QTest::addColumn<bool>("enhanced");
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray emf = ViewerFixtures::emf(40, 30);
        const QByteArray wmf = ViewerFixtures::wmf(40, 30);
        QByteArray badRecordSize = emf;
        qToLittleEndian<quint32>(0x7FFFFFF0, badRecordSize.data() + 108 + 4);
        QTest::newRow("emf empty") << true << QByteArray();
        QTest::newRow("emf garbage") << true << QByteArray(200, '\x04');
        QTest::newRow("emf without its end") << true << emf.chopped(20);
        QTest::newRow("emf cut in a record") << true << emf.left(120);
        QTest::newRow("emf record beyond the file") << true << badRecordSize;
        QTest::newRow("wmf empty") << false << QByteArray();
        QTest::newRow("wmf garbage") << false << QByteArray(200, '\x03');
        QTest::newRow("wmf header only") << false << wmf.left(40);
        // A polygon claiming 100 points with room for two, before the end record.
        QByteArray polygon = QByteArray::fromHex("080000002403"
                                                 "6400"
                                                 "00000000"
                                                 "05000500");
        QTest::newRow("wmf polygon beyond its record") << false << wmf.chopped(6) + polygon + wmf.right(6);
        QByteArray recordBeyond = wmf;
        qToLittleEndian<quint32>(5000, recordBeyond.data() + 40);
        QTest::newRow("wmf record beyond the file") << false << recordBeyond;
    }
    void metafileRefusals()
    {
        QFETCH(bool, enhanced);
        QFETCH(QByteArray, bytes);
        QString error;
        const QImage image = enhanced ? renderEmf(bytes, &error) : renderWmf(bytes, &error);
        QVERIFY(image.isNull());
        QVERIFY(!error.isEmpty());
    }

    // Metafiles that once took minutes and hundreds of megabytes (a 32767-wide pen, full-canvas shapes,
    // 150,000 saved states, polylines of 100,000 points with wide pens, a thousand antialiased
    // ellipses) end with a picture no larger than a screen shows, or a refusal with its reason.
    void metafileStalls_data()
    {
        QTest::addColumn<QString>("path");
        const QDir corpus(qEnvironmentVariable("TESSALOOM_SOURCE_DIR") + "/tests/corpus/metafiles");
        const QStringList stalls = corpus.entryList({"stall-*", "timeout-*"}, QDir::Files, QDir::Name);
        QVERIFY(stalls.size() >= 8);
        for (const QString &name : stalls)
            QTest::newRow(qPrintable(name)) << corpus.filePath(name);
    }
    void metafileStalls()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray saved = file.readAll();
        const QByteArray bytes = saved.sliced(1); // the corpus's first byte names the reader
        QString error;
        const QImage image = (saved[0] & 1) ? renderEmf(bytes, &error) : renderWmf(bytes, &error);
        if (image.isNull()) {
            QVERIFY(!error.isEmpty());
        } else {
            QVERIFY(error.isEmpty());
            QVERIFY2(image.width() <= 2560 && image.height() <= 2560,
                     qPrintable(QStringLiteral("%1x%2").arg(image.width()).arg(image.height())));
        }
    }

    void missingFileFails()
    {
        QVERIFY(!loadViewerJpeg(m_dir.filePath("none.jpg")).ok);
        QVERIFY(!loadViewerGif(m_dir.path()).ok); // a folder
    }
};

QTEST_GUILESS_MAIN(tst_ViewerReaders)
#include "tst_ViewerReaders.moc"
