// SPDX-License-Identifier: GPL-2.0-or-later
#include "media/PictureMeasure.h"

#include "support/PageFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

class tst_PictureMeasure : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void jpegSize_data();
    void jpegSize();
    void gifSize_data();
    void gifSize();
    void badFile_data();
    void badFile();
    void headerReadStopsEarly();
    void memoryMatchesFile();
    void hugeJpegMeasured_data();
    void hugeJpegMeasured();
};

void tst_PictureMeasure::jpegSize_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<bool>("bigEndian");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("no EXIF") << 0 << false << 320 << 120;
    for (int o = 1; o <= 8; ++o) {
        const bool swapped = o >= 5;
        QTest::addRow("orientation %d, Intel", o) << o << false << (swapped ? 120 : 320) << (swapped ? 320 : 120);
        QTest::addRow("orientation %d, Motorola", o) << o << true << (swapped ? 120 : 320) << (swapped ? 320 : 120);
    }
}

void tst_PictureMeasure::jpegSize()
{
    QFETCH(int, orientation);
    QFETCH(bool, bigEndian);
    const QString file = path(QStringLiteral("p.jpg"));
    QVERIFY(PageFixtures::write(file, PageFixtures::jpeg(320, 120, orientation, bigEndian)));
    const PictureSize size = measureJpeg(file);
    QVERIFY2(size.ok, qPrintable(size.error));
    QTEST(size.width, "width");
    QTEST(size.height, "height");
}

void tst_PictureMeasure::gifSize_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("89a") << PageFixtures::gif(121, 91) << 121 << 91;
    QTest::newRow("87a") << PageFixtures::gif(640, 480, "87a") << 640 << 480;
    QTest::newRow("only the header") << PageFixtures::gif(300, 2).left(13) << 300 << 2;
    QTest::newRow("largest side") << PageFixtures::gif(65535, 1) << 65535 << 1;
    // Far beyond what a thumbnail may decode, yet measured: only the header is read.
    QTest::newRow("65535 x 65535") << PageFixtures::gif(65535, 65535) << 65535 << 65535;
}

void tst_PictureMeasure::gifSize()
{
    QFETCH(QByteArray, bytes);
    const QString file = path(QStringLiteral("p.gif"));
    QVERIFY(PageFixtures::write(file, bytes));
    const PictureSize size = measureGif(file);
    QVERIFY2(size.ok, qPrintable(size.error));
    QTEST(size.width, "width");
    QTEST(size.height, "height");
}

void tst_PictureMeasure::badFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // written as the file unless the name is made below
    QTest::addColumn<QString>("reason");
    const QByteArray jpeg = PageFixtures::jpeg(64, 48);
    const QByteArray gif = PageFixtures::gif(64, 48);
    QTest::newRow("zero-byte jpg") << "empty.jpg" << QByteArray() << "empty file";
    QTest::newRow("zero-byte gif") << "empty.gif" << QByteArray() << "empty file";
    QTest::newRow("text as jpg") << "text.jpg" << QByteArray("hello\n") << "not a JPEG file";
    QTest::newRow("PNG as jpg") << "png.jpg" << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "PNG data";
    QTest::newRow("GIF as jpg") << "gif.jpg" << gif << "GIF data";
    QTest::newRow("bare SOI") << "soi.jpg" << QByteArray("\xFF\xD8\xFF", 3) << "damaged JPEG header";
    QTest::newRow("header cut at 20") << "cut20.jpg" << jpeg.left(20) << "damaged JPEG header";
    QTest::newRow("header cut at 100") << "cut100.jpg" << jpeg.left(100) << "damaged JPEG header";
    QTest::newRow("header cut before SOS")
        << "cutsos.jpg" << jpeg.left(jpeg.indexOf("\xFF\xDA")) << "damaged";
    QTest::newRow("height 0 in SOF") << "zero.jpg" << PageFixtures::withJpegSize(jpeg, 64, 0) << "damaged";
    QTest::newRow("gif shorter than header") << "short.gif" << gif.left(9) << "cut short";
    QTest::newRow("gif signature only") << "sig.gif" << gif.left(4) << "cut short";
    QTest::newRow("gif 0 x 0 screen") << "zero.gif" << PageFixtures::gif(0, 0) << "invalid size 0x0";
    QTest::newRow("jpeg as gif") << "jpeg.gif" << jpeg << "not a GIF file";
    QTest::newRow("missing jpg") << "missing.jpg" << QByteArray() << "No such file";
    QTest::newRow("folder named jpg") << "folder.jpg" << QByteArray() << "not a regular file";
    QTest::newRow("fifo named gif") << "fifo.gif" << QByteArray() << "not a regular file";
    QTest::newRow("link to a device") << "zero-dev.jpg" << QByteArray() << "not a regular file";
}

void tst_PictureMeasure::badFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const QString file = path(name);
    if (name == QLatin1String("folder.jpg"))
        QVERIFY(QDir(m_dir.path()).mkdir(name));
    else if (name == QLatin1String("fifo.gif"))
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    else if (name == QLatin1String("zero-dev.jpg"))
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), file));
    else if (name != QLatin1String("missing.jpg"))
        QVERIFY(PageFixtures::write(file, bytes));

    const PictureSize size = name.endsWith(QLatin1String(".gif")) ? measureGif(file) : measureJpeg(file);
    QVERIFY(!size.ok);
    QVERIFY2(size.error.startsWith(file + QLatin1String(": ")), qPrintable(size.error));
    QVERIFY2(size.error.contains(reason), qPrintable(size.error));
}

// A header followed by a damaged body is measured: only the header is read.
void tst_PictureMeasure::headerReadStopsEarly()
{
    QByteArray bytes = PageFixtures::jpeg(200, 100);
    const qsizetype scan = bytes.indexOf("\xFF\xDA");
    QVERIFY(scan > 0);
    bytes.truncate(scan + 20);
    bytes += QByteArray(50 * 1024 * 1024, '\xFF');
    const QString file = path(QStringLiteral("body.jpg"));
    QVERIFY(PageFixtures::write(file, bytes));
    const PictureSize size = measureJpeg(file);
    QVERIFY2(size.ok, qPrintable(size.error));
    QCOMPARE(size.width, 200);
    QCOMPARE(size.height, 100);
}

void tst_PictureMeasure::memoryMatchesFile()
{
    const QByteArray jpeg = PageFixtures::jpeg(33, 77, 6);
    const PictureSize fromJpeg = measureJpegData(jpeg, QStringLiteral("m.jpg"));
    QVERIFY(fromJpeg.ok);
    QCOMPARE(fromJpeg.width, 77);
    QCOMPARE(fromJpeg.height, 33);
    const PictureSize fromGif = measureGifData(PageFixtures::gif(5, 6), QStringLiteral("m.gif"));
    QVERIFY(fromGif.ok);
    QCOMPARE(fromGif.width, 5);
    QCOMPARE(fromGif.height, 6);
    const PictureSize bad = measureJpegData(jpeg.left(30), QStringLiteral("m.jpg"));
    QVERIFY(!bad.ok);
    QVERIFY(bad.error.startsWith(QLatin1String("m.jpg: ")));
}

// Sizes only a thumbnail refuses: the page measures them from the header like any other picture.
void tst_PictureMeasure::hugeJpegMeasured_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::newRow("12000 x 9000") << 12000 << 9000;
    QTest::newRow("10001 x 10000") << 10001 << 10000;
    QTest::newRow("65500 x 65500") << 65500 << 65500;
}

void tst_PictureMeasure::hugeJpegMeasured()
{
    QFETCH(int, width);
    QFETCH(int, height);
    const QString file = path(QStringLiteral("BIG.JPG"));
    QVERIFY(PageFixtures::write(file, PageFixtures::withJpegSize(PageFixtures::jpeg(64, 48), width, height)));
    const PictureSize size = measureJpeg(file);
    QVERIFY2(size.ok, qPrintable(size.error));
    QCOMPARE(size.width, width);
    QCOMPARE(size.height, height);
}

QTEST_GUILESS_MAIN(tst_PictureMeasure)
#include "tst_PictureMeasure.moc"
