// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/FolderListing.h"
#include "core/MediaKinds.h"
#include "core/NaturalOrder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

class TestMediaKinds : public QObject
{
    Q_OBJECT

private:
    static void touch(const QString &path, const QByteArray &content = "x")
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }

private Q_SLOTS:
    void kindTable_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("masks");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("button");
        QTest::newRow("gif and jpg") << 1 << "*.gif;*.jpg;*.GIF;*.JPG" << "GIF/JPG List:" << "gjButton";
        QTest::newRow("gif") << 2 << "*.gif;*.GIF" << "GIF List:" << "GIFButton";
        QTest::newRow("jpg") << 3 << "*.jpg;*.JPG" << "JPG List:" << "JPGButton";
        QTest::newRow("wav") << 4 << "*.wav;*.WAV" << "WAV List:" << "WAVButton";
        QTest::newRow("mid") << 5 << "*.mid;*.MID" << "MID List:" << "MIDButton";
        QTest::newRow("mp3") << 6 << "*.mp3;*.MP3" << "MP3 List:" << "MP3Button";
        QTest::newRow("avi") << 7 << "*.avi;*.AVI" << "AVI Movie List:" << "AVIButton";
        QTest::newRow("mpg") << 8 << "*.mpg;*.MPG" << "MPG Movie List:" << "MPGButton";
    }
    void kindTable()
    {
        QFETCH(int, code);
        const MediaKindInfo *kind = MediaKinds::info(code);
        QVERIFY(kind);
        QCOMPARE(int(kind->code), code);
        QTEST(QString::fromLatin1(kind->masks), "masks");
        QTEST(QString::fromLatin1(kind->caption), "caption");
        QTEST(QString::fromLatin1(kind->button), "button");
        QCOMPARE(MediaKinds::isPictureKind(code), code < 4);
        QCOMPARE(MediaKinds::isSoundKind(code), code > 3 && code < 7);
        QCOMPARE(MediaKinds::isMovieKind(code), code > 6);
    }
    void kindTableEnds()
    {
        QVERIFY(!MediaKinds::info(0));
        QVERIFY(!MediaKinds::info(9));
        QCOMPARE(QString::fromLatin1(MediaKinds::info(mkAvi)->hint),
                 QStringLiteral("Click here to use only AVI files in your web page. NOTE: You must create a "
                                "thumbnail image from the movie first, using Grabber."));
        QCOMPARE(QString::fromLatin1(MediaKinds::info(mkWav)->hint),
                 QStringLiteral("Click here to use only WAV files in your web page. NOTE: You can use pictures "
                                "to represent you sound files."));
    }

    void masks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("listed");
        QTest::newRow("lower gif under 1") << "a.gif" << 1 << true;
        QTest::newRow("upper JPG under 1") << "B.JPG" << 1 << true;
        QTest::newRow("mixed Jpg under 1") << "c.Jpg" << 1 << true;
        QTest::newRow("jpeg is not jpg") << "d.jpeg" << 1 << false;
        QTest::newRow("mixed case under 3") << "photo.Jpg" << 3 << true;
        QTest::newRow("gif not under 3") << "a.gif" << 3 << false;
        QTest::newRow("thumbnail is a jpg") << "sm_a.jpg" << 3 << true;
        QTest::newRow("suffix must be whole") << "a.jpgx" << 3 << false;
        QTest::newRow("Mp3") << "song.Mp3" << 6 << true;
        QTest::newRow("mpg is not mp3") << "song.mpg" << 6 << false;
    }
    void masks()
    {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QTEST(MediaKinds::matchesMasks(name, QString::fromLatin1(MediaKinds::info(kind)->masks)), "listed");
    }
    void wildcardMasks()
    {
        QVERIFY(MediaKinds::matchesMasks("sm_a.jpg", "sm_*.*"));
        QVERIFY(MediaKinds::matchesMasks("SM_B.JPG", "sm_*.*"));
        QVERIFY(!MediaKinds::matchesMasks("xsm_a.jpg", "sm_*.*"));
        QVERIFY(MediaKinds::matchesMasks("anything", ""));
    }

    void joinFolderFile_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::newRow("root") << "/" << "x.gif" << "/x.gif";
        QTest::newRow("folder") << "/srv/Web" << "x.gif" << "/srv/Web/x.gif";
        QTest::newRow("short folder") << "/a" << "x.gif" << "/a/x.gif";
    }
    void joinFolderFile()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QTEST(JoinFolderFile(folder, name), "path");
    }

    void countCaption_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("caption");
        QTest::newRow("caption of kind 1") << "GIF/JPG List:" << 12 << "GIF/JPG List: 12";
        QTest::newRow("already counted") << "MP3 List: 7" << 0 << "MP3 List: 0";
        QTest::newRow("first colon only") << "AVI Movie List: 3:4" << 5 << "AVI Movie List: 5";
        QTest::newRow("no colon") << "Picture List" << 2 << ": 2";
    }
    void countCaption()
    {
        QFETCH(QString, label);
        QFETCH(int, count);
        QTEST(CountCaption(label, count), "caption");
    }

    void naturalOrder()
    {
        QStringList names{"img10.jpg", "img2.jpg", "IMG1.jpg", "b.jpg", "A.jpg", "img02.jpg", "img2.JPG"};
        std::sort(names.begin(), names.end(), naturalLess);
        QCOMPARE(names, (QStringList{"A.jpg", "b.jpg", "IMG1.jpg", "img02.jpg", "img2.JPG", "img2.jpg",
                                     "img10.jpg"}));
        QVERIFY(naturalCompare("x", "x") == 0);
    }

    void listsRegularFilesOfTheKind()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QDir d(dir.path());
        for (const char *n : {"img10.jpg", "img2.jpg", "B.JPG", "c.Jpg", "a.gif", "d.jpeg", ".hidden.jpg",
                              "notes.txt"})
            touch(d.filePath(n));
        QVERIFY(d.mkdir("folder.jpg"));
        QVERIFY(QFile::link(d.filePath("img2.jpg"), d.filePath("link.jpg")));
        QVERIFY(QFile::link("/dev/zero", d.filePath("zero.jpg")));
        QVERIFY(QFile::link(d.filePath("missing"), d.filePath("dangling.jpg")));
        QCOMPARE(mkfifo(QFile::encodeName(d.filePath("pipe.jpg")).constData(), 0600), 0);

        const FolderListing jpgs = listFolder(dir.path(), "*.jpg;*.JPG");
        QVERIFY(jpgs.error.isEmpty());
        QCOMPARE(jpgs.names, (QStringList{"B.JPG", "c.Jpg", "img2.jpg", "img10.jpg", "link.jpg"}));

        const FolderListing all = listFolder(dir.path(), "*.gif;*.jpg;*.GIF;*.JPG");
        QCOMPARE(all.names, (QStringList{"a.gif", "B.JPG", "c.Jpg", "img2.jpg", "img10.jpg", "link.jpg"}));
        QCOMPARE(listFolder(dir.path(), "*.mp3;*.MP3").names, QStringList());
    }
    void unreadableNamesAreCountedNotListed()
    {
        QTemporaryDir dir;
        touch(dir.filePath("ok.jpg"));
        const QByteArray bad = QFile::encodeName(dir.path()) + "/caf\xe9.jpg";
        FILE *f = fopen(bad.constData(), "w");
        QVERIFY(f);
        fclose(f);
        const FolderListing listing = listFolder(dir.path(), "*.jpg");
        QCOMPARE(listing.names, QStringList{"ok.jpg"});
        QCOMPARE(listing.unreadableNames, 1);
        QCOMPARE(unlink(bad.constData()), 0);
    }
    void missingFolderIsAnError()
    {
        const FolderListing listing = listFolder("/nonexistent/folder", "*.jpg");
        QVERIFY(listing.names.isEmpty());
        QVERIFY(!listing.error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMediaKinds)
#include "tst_MediaKinds.moc"
