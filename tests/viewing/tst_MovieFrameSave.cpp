// SPDX-License-Identifier: GPL-2.0-or-later
#include "viewing/MovieFrameSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

// The picture saved for a movie: the size limits, the name the page uses, the crop, and a write
// that never leaves a half picture or goes through a link.
class TestMovieFrameSave : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // A frame whose every pixel tells where it came from: red = x, green = y, blue fixed.
    static QImage positionFrame(const QSize &size)
    {
        QImage image(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                image.setPixel(x, y, qRgb(x % 256, y % 256, 128));
        return image;
    }

    static QByteArray contentOf(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void savedSize_data()
    {
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QSize>("saved");
        QTest::newRow("320 x 240") << QSize(320, 240) << QSize(314, 234);
        QTest::newRow("160 x 120") << QSize(160, 120) << QSize(154, 114);
        QTest::newRow("640 x 480") << QSize(640, 480) << QSize(320, 240);
        QTest::newRow("wide and low") << QSize(1000, 100) << QSize(320, 94);
        QTest::newRow("smallest") << QSize(7, 7) << QSize(1, 1);
        QTest::newRow("too narrow") << QSize(6, 200) << QSize();
        QTest::newRow("too low") << QSize(200, 6) << QSize();
        QTest::newRow("no picture") << QSize(0, 0) << QSize();
    }
    void savedSize()
    {
        QFETCH(QSize, frame);
        QTEST(MovieFrameSave::savedSize(frame), "saved");
    }

    void pictureName_data()
    {
        QTest::addColumn<QString>("movie");
        QTest::addColumn<QString>("picture");
        QTest::newRow("case kept") << "/m/Clip.avi"
                                   << "/m/Clip.jpg";
        QTest::newRow("dots kept") << "/m/my.clip.avi"
                                   << "/m/my.clip.jpg";
        QTest::newRow("mpg") << "/m/a b.MPG"
                             << "/m/a b.jpg";
    }
    void pictureName()
    {
        QFETCH(QString, movie);
        QTEST(MovieFrameSave::picturePathOf(movie), "picture");
    }

    void writesTheCropAsJpeg_data()
    {
        QTest::addColumn<QSize>("frame");
        QTest::newRow("320 x 240") << QSize(320, 240);
        QTest::newRow("640 x 480") << QSize(640, 480);
        QTest::newRow("7 x 7") << QSize(7, 7);
    }
    void writesTheCropAsJpeg()
    {
        QFETCH(QSize, frame);
        const QString movie = m_dir.filePath(QStringLiteral("Crop.avi"));
        const MovieFrameSave::Result result =
            MovieFrameSave::save(positionFrame(frame), movie, SafeFile::Replace::RegularFileOnly);
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.path, m_dir.filePath(QStringLiteral("Crop.jpg")));
        const QByteArray bytes = contentOf(result.path);
        QVERIFY(bytes.startsWith("\xFF\xD8"));
        QVERIFY(bytes.contains("\xFF\xC0")); // baseline frame header
        QImage saved;
        QVERIFY(saved.loadFromData(bytes, "JPEG"));
        QCOMPARE(saved.size(), MovieFrameSave::savedSize(frame));
        QVERIFY(!saved.isGrayscale());
        // The saved picture starts at the frame's (5, 5).
        const QPoint probes[] = {
            {0, 0}, {saved.width() / 2, saved.height() / 2}, {saved.width() - 1, saved.height() - 1}};
        for (const QPoint &p : probes) {
            const QRgb pixel = saved.pixel(p);
            QVERIFY2(qAbs(qRed(pixel) - (p.x() + 5) % 256) <= 6 &&
                         qAbs(qGreen(pixel) - (p.y() + 5) % 256) <= 6,
                     qPrintable(QStringLiteral("at %1,%2: %3,%4")
                                    .arg(p.x())
                                    .arg(p.y())
                                    .arg(qRed(pixel))
                                    .arg(qGreen(pixel))));
        }
        QVERIFY(QFile::remove(result.path));
    }

    void refusesFramesItCannotSave_data()
    {
        QTest::addColumn<QImage>("frame");
        QTest::addColumn<QString>("mention");
        QTest::newRow("no video") << QImage() << "has no picture";
        QTest::newRow("6 x 6") << positionFrame(QSize(6, 6)) << "6 x 6";
    }
    void refusesFramesItCannotSave()
    {
        QFETCH(QImage, frame);
        QFETCH(QString, mention);
        const QString movie = m_dir.filePath(QStringLiteral("Small.avi"));
        const MovieFrameSave::Result result =
            MovieFrameSave::save(frame, movie, SafeFile::Replace::RegularFileOnly);
        QVERIFY(!result.ok());
        QVERIFY2(result.error.contains(mention) && result.error.contains(movie), qPrintable(result.error));
        QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("Small.jpg"))));
    }

    // What already holds the name: replaced only when it is a regular file and the mode allows it.
    void respectsWhatHoldsTheName_data()
    {
        QTest::addColumn<QString>("holder"); // file, link, folder
        QTest::addColumn<bool>("replaceFiles");
        QTest::addColumn<bool>("written");
        QTest::newRow("file, grabber replaces") << "file" << true << true;
        QTest::newRow("file, posters keep") << "file" << false << false;
        QTest::newRow("link refused") << "link" << true << false;
        QTest::newRow("folder refused") << "folder" << true << false;
    }
    void respectsWhatHoldsTheName()
    {
        QFETCH(QString, holder);
        QFETCH(bool, replaceFiles);
        QFETCH(bool, written);
        QTemporaryDir dir;
        const QString picture = dir.filePath(QStringLiteral("Held.jpg"));
        const QString outside = dir.filePath(QStringLiteral("outside.txt"));
        QFile old(holder == QLatin1String("link") ? outside : picture);
        if (holder == QLatin1String("folder")) {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Held.jpg")));
        } else {
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old picture");
            old.close();
            if (holder == QLatin1String("link"))
                QVERIFY(QFile::link(outside, picture));
        }
        const MovieFrameSave::Result result = MovieFrameSave::save(
            positionFrame(QSize(64, 48)), dir.filePath(QStringLiteral("Held.avi")),
            replaceFiles ? SafeFile::Replace::RegularFileOnly : SafeFile::Replace::Never);
        QCOMPARE(result.ok(), written);
        if (written) {
            QVERIFY(contentOf(picture).startsWith("\xFF\xD8"));
            return;
        }
        QVERIFY(result.error.contains(picture));
        if (holder == QLatin1String("folder"))
            QVERIFY(QFileInfo(picture).isDir());
        else
            QCOMPARE(contentOf(holder == QLatin1String("link") ? outside : picture),
                     QByteArray("old picture"));
        if (holder == QLatin1String("link"))
            QVERIFY(QFileInfo(picture).isSymLink());
        // No temporary file is left behind.
        QCOMPARE(QDir(dir.path())
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
                     .size(),
                 holder == QLatin1String("link") ? 2 : 1);
    }
};

QTEST_GUILESS_MAIN(TestMovieFrameSave)
#include "tst_MovieFrameSave.moc"
