// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/PickListFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace PickListFile;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestPickListFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesTheExactFormat_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("folder gets a separator") << "/pics" << QStringList{"a.jpg", "b.gif"}
                                                 << QByteArray("/pics/\r\na.jpg\r\nb.gif\r\n\r\n");
        QTest::newRow("root keeps its one separator") << "/" << QStringList{"a.jpg"} << QByteArray("/\r\na.jpg\r\n\r\n");
        QTest::newRow("short folder is no root") << "/ab" << QStringList{"x"} << QByteArray("/ab/\r\nx\r\n\r\n");
        QTest::newRow("empty list") << "/pics" << QStringList{} << QByteArray("/pics/\r\n\r\n");
        QTest::newRow("names unchanged") << "/my pics" << QStringList{" a b.jpg ", "a b.jpg", "a b.jpg"}
                                         << QByteArray("/my pics/\r\n a b.jpg \r\na b.jpg\r\na b.jpg\r\n\r\n");
        QTest::newRow("UTF-8") << "/bilder" << QStringList{"grün.jpg"} << QByteArray("/bilder/\r\ngr\xc3\xbcn.jpg\r\n\r\n");
    }

    void writesTheExactFormat()
    {
        QFETCH(QString, folder);
        QFETCH(QStringList, names);
        QFETCH(QByteArray, bytes);
        const Encoded encoded = encode(folder, names);
        QVERIFY2(encoded.ok(), qPrintable(encoded.error));
        QCOMPARE(encoded.bytes, bytes);
    }

    void refusesToWriteWhatWouldReadBackDifferently_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("named"); // the error names this
        QTest::newRow("name with LF") << "/p" << QStringList{"a.jpg", "b\nc.jpg"} << "b\nc.jpg";
        QTest::newRow("name with CR") << "/p" << QStringList{"b\rc.jpg"} << "b\rc.jpg";
        QTest::newRow("blank name") << "/p" << QStringList{"a", "  "} << "  ";
        QTest::newRow("name with a separator") << "/p" << QStringList{"sub/x.jpg"} << "sub/x.jpg";
        QTest::newRow("dot") << "/p" << QStringList{"."} << "\".\"";
        QTest::newRow("lone surrogate") << "/p" << QStringList{QString(QChar(0xD83C))} << "not valid text";
        QTest::newRow("dot dot") << "/p" << QStringList{".."} << "\"..\"";
        QTest::newRow("folder with a line break") << "/a\nb" << QStringList{"x"} << "/a\nb";
        QTest::newRow("no folder") << "" << QStringList{"x"} << "no current folder";
        QTest::newRow("relative folder") << "pics" << QStringList{"x"} << "no current folder";
        const QString longName = QString(MaxLineBytes + 1, QLatin1Char('n'));
        QTest::newRow("line too long") << "/p" << QStringList{longName} << longName;
        QTest::newRow("too many names") << "/p" << QStringList(MaxNames + 1, "x") << "more than";
        QTest::newRow("over 1 MiB") << "/p" << QStringList(300, QString(4000, QLatin1Char('n'))) << "1 MiB";
    }

    void refusesToWriteWhatWouldReadBackDifferently()
    {
        QFETCH(QString, folder);
        QFETCH(QStringList, names);
        QFETCH(QString, named);
        const Encoded encoded = encode(folder, names);
        QVERIFY(!encoded.ok());
        QVERIFY(encoded.bytes.isEmpty());
        QVERIFY2(encoded.error.contains(named), qPrintable(encoded.error));
    }

    void readsEveryLineEnding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("folderLine");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("names");
        const QStringList ab{"a.jpg", "b.gif"};
        QTest::newRow("CR LF") << QByteArray("/d/\r\na.jpg\r\nb.gif\r\n\r\n") << "/d/" << "/d" << ab;
        QTest::newRow("LF") << QByteArray("/d/\na.jpg\nb.gif\n") << "/d/" << "/d" << ab;
        QTest::newRow("CR") << QByteArray("/d/\ra.jpg\rb.gif\r") << "/d/" << "/d" << ab;
        QTest::newRow("mixed") << QByteArray("/d/\ra.jpg\nb.gif\r\n") << "/d/" << "/d" << ab;
        QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbf/d/\na.jpg\nb.gif") << "/d/" << "/d" << ab;
        QTest::newRow("no last line end") << QByteArray("/d/\r\na.jpg\r\nb.gif") << "/d/" << "/d" << ab;
        QTest::newRow("blank lines around") << QByteArray("/d/\r\n\r\n \t\r\na.jpg\r\nb.gif\r\n\r\n\r\n  \r\n")
                                            << "/d/" << "/d" << ab;
        QTest::newRow("empty line between names") << QByteArray("/d/\r\na.jpg\r\n\r\nb.gif\r\n\r\n") << "/d/"
                                                  << "/d" << ab;
        QTest::newRow("blanks inside names kept") << QByteArray("/d/\r\n a.jpg\r\nb .gif\t\r\n\r\n") << "/d/" << "/d"
                                                  << QStringList{" a.jpg", "b .gif\t"};
        QTest::newRow("root") << QByteArray("/\r\na.jpg\r\n\r\n") << "/" << "/" << QStringList{"a.jpg"};
        QTest::newRow("folder without its separator") << QByteArray("/d\r\na.jpg\r\n") << "/d" << "/d"
                                                      << QStringList{"a.jpg"};
        QTest::newRow("backslash is a name character here") << QByteArray("/d/\r\na\\b.jpg\r\n") << "/d/" << "/d"
                                                             << QStringList{"a\\b.jpg"};
        QTest::newRow("duplicates") << QByteArray("/d/\r\na\r\na\r\n") << "/d/" << "/d" << QStringList{"a", "a"};
    }

    void readsEveryLineEnding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, folderLine);
        QFETCH(QString, folder);
        QFETCH(QStringList, names);
        const Loaded loaded = parse(bytes, "list.mpf");
        QVERIFY2(loaded.ok(), qPrintable(loaded.error));
        QCOMPARE(loaded.content.folderLine, folderLine);
        QCOMPARE(loaded.content.folder, folder);
        QCOMPARE(loaded.content.names, names);
    }

    void refusesWhatIsNoList_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty file") << QByteArray() << "no folder line";
        QTest::newRow("first line empty") << QByteArray("\r\na.jpg\r\n") << "no folder line";
        QTest::newRow("folder but no names") << QByteArray("/d/\r\n\r\n") << "no file names";
        QTest::newRow("folder and blank lines") << QByteArray("/d/\r\n \r\n\t\r\n") << "no file names";
        QTest::newRow("relative folder") << QByteArray("d/\r\na.jpg\r\n") << "not a full folder path";
        QTest::newRow("drive letter folder") << QByteArray("C:\\Pics\\\r\na.jpg\r\n") << "not a full folder path";
        QTest::newRow("NUL") << QByteArray("/d/\r\na\0b.jpg\r\n", 14) << "not a text file";
        QTest::newRow("invalid UTF-8") << QByteArray("/d/\r\n\xff\xfe.jpg\r\n") << "not UTF-8";
        QTest::newRow("over 1 MiB") << QByteArray("/d/\r\n") + QByteArray(MaxFileBytes, 'a') << "1 MiB";
        QTest::newRow("line too long") << QByteArray("/d/\r\n") + QByteArray(MaxLineBytes + 1, 'a') << "longer than";
        QTest::newRow("parent path") << QByteArray("/d/\r\n../../etc/passwd\r\n") << "../../etc/passwd";
        QTest::newRow("absolute path") << QByteArray("/d/\r\na.jpg\r\n/etc/passwd\r\n") << "/etc/passwd";
        QTest::newRow("sub folder") << QByteArray("/d/\r\nsub/x.jpg\r\n") << "sub/x.jpg";
        QTest::newRow("dot") << QByteArray("/d/\r\n.\r\n") << "\".\"";
        QTest::newRow("dot dot") << QByteArray("/d/\r\na.jpg\r\n..\r\n") << "\"..\"";
        QTest::newRow("too many names") << QByteArray("/d/\r\n") + QByteArray("a\n").repeated(MaxNames + 1)
                                        << "more than";
    }

    void refusesWhatIsNoList()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const Loaded loaded = parse(bytes, "/lists/bad %2.mpf"); // place markers in a name stay as they are
        QVERIFY(!loaded.ok());
        QVERIFY2(loaded.error.contains("/lists/bad %2.mpf"), qPrintable(loaded.error));
        QVERIFY2(loaded.error.contains(reason), qPrintable(loaded.error));
        QVERIFY(loaded.content.names.isEmpty());
    }

    void loadChecksTheFileAndItsFolder()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString list = dir.filePath("list.mpf");
        QVERIFY(writeFile(list, (dir.path() + "/\r\nx.jpg\r\n\r\n").toUtf8()));
        Loaded loaded = load(list);
        QVERIFY2(loaded.ok(), qPrintable(loaded.error));
        QCOMPARE(loaded.content.folder, dir.path());
        QCOMPARE(loaded.content.names, QStringList{"x.jpg"});

        QVERIFY(writeFile(list, (dir.path() + "/gone/\r\nx.jpg\r\n\r\n").toUtf8()));
        loaded = load(list);
        QCOMPARE(loaded.error, dir.path() + "/gone/ does not exist");

        QVERIFY(writeFile(list, (dir.path() + "/list.mpf/\r\nx.jpg\r\n").toUtf8()));
        QCOMPARE(load(list).error, dir.path() + "/list.mpf/ does not exist"); // a file, no folder

        QVERIFY(!load(dir.filePath("missing.mpf")).ok());
        QVERIFY(load(dir.filePath("missing.mpf")).error.contains("missing.mpf"));
        QVERIFY(!load(dir.path()).ok()); // a folder

        // A pipe would block a plain read for ever.
        const QString fifo = dir.filePath("pipe.mpf");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        QVERIFY(load(fifo).error.contains("pipe.mpf"));

        const QString big = dir.filePath("big.mpf");
        QVERIFY(writeFile(big, (dir.path() + "/\r\n").toUtf8() + QByteArray(2 * MaxFileBytes, 'a')));
        QVERIFY(load(big).error.contains("1 MiB"));
    }

    void saveThenLoadGivesTheSameList_data()
    {
        QTest::addColumn<QString>("subFolder"); // empty: the temporary folder itself
        QTest::addColumn<QStringList>("names");
        QTest::newRow("plain") << "" << QStringList{"a.jpg", "b.gif", "c.jpg"};
        QTest::newRow("one name") << "" << QStringList{"only.wav"};
        QTest::newRow("duplicates") << "" << QStringList{"a.jpg", "a.jpg", "b.jpg", "a.jpg"};
        QTest::newRow("blanks at the edges of names") << "" << QStringList{" lead.jpg", "trail.jpg ", "\ttab.jpg"};
        QTest::newRow("odd characters") << "" << QStringList{"a\\b.jpg", "100%.gif", "#x?.mp3", "'q\".wav", "-.avi"};
        QTest::newRow("non-ASCII") << "" << QStringList{"grün.jpg", "写真.gif", "émoji 🎵.mp3"};
        QTest::newRow("folder with blanks and non-ASCII") << "mes images " << QStringList{"a.jpg"};
        QTest::newRow("longest name") << "" << QStringList{QString(255, QLatin1Char('n'))};
    }

    void saveThenLoadGivesTheSameList()
    {
        QFETCH(QString, subFolder);
        QFETCH(QStringList, names);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString folder = subFolder.isEmpty() ? dir.path() : dir.filePath(subFolder);
        QVERIFY(QDir().mkpath(folder));
        const QString list = dir.filePath("list.mpf");
        QCOMPARE(save(list, folder, names), QString());
        const Loaded loaded = load(list);
        QVERIFY2(loaded.ok(), qPrintable(loaded.error));
        QCOMPARE(loaded.content.folder, folder);
        QCOMPARE(loaded.content.folderLine, folder + "/");
        QCOMPARE(loaded.content.names, names);
    }

    // Random lists of every name the file list can show, saved and read back.
    void randomListsRoundTrip()
    {
        QRandomGenerator random(20011);
        const QList<uint> alphabet = QStringLiteral("abcXYZ019 .-_~!#%&'()[]{};,=+@$^`\t\\\x7fäöü€写🎵").toUcs4();
        for (int round = 0; round < 300; ++round) {
            QStringList names;
            const int count = random.bounded(1, 40);
            for (int i = 0; i < count; ++i) {
                QString name;
                const int length = random.bounded(1, 30);
                for (int c = 0; c < length; ++c)
                    name += QChar::fromUcs4(char32_t(alphabet.at(random.bounded(alphabet.size()))));
                if (nameProblem(name).isEmpty())
                    names.append(name);
            }
            if (names.isEmpty())
                continue;
            const Encoded encoded = encode("/r", names);
            QVERIFY2(encoded.ok(), qPrintable(encoded.error));
            const Loaded loaded = parse(encoded.bytes, "r.mpf");
            QVERIFY2(loaded.ok(), qPrintable(loaded.error));
            QCOMPARE(loaded.content.names, names);
        }
    }

    void aFailedSaveLeavesTheOldFileWhole()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString list = dir.filePath("list.mpf");
        const QByteArray old("/old/\r\nkeep.jpg\r\n\r\n");
        QVERIFY(writeFile(list, old));

        QVERIFY(save(list, dir.path(), {"bad\nname.jpg"}).contains("bad\nname.jpg"));
        QCOMPARE(readAll(list), old);

        // A link planted at the name is never written through, and its target stays whole.
        const QString link = dir.filePath("link.mpf");
        QVERIFY(QFile::link(list, link));
        QVERIFY(save(link, dir.path(), {"new.jpg"}).contains("link.mpf"));
        QCOMPARE(readAll(list), old);

        // A folder at the name is not replaced.
        QVERIFY(QDir(dir.path()).mkdir("taken.mpf"));
        QVERIFY(!save(dir.filePath("taken.mpf"), dir.path(), {"new.jpg"}).isEmpty());
        QVERIFY(QFileInfo(dir.filePath("taken.mpf")).isDir());

        QVERIFY(!save(dir.filePath("no/such/folder/l.mpf"), dir.path(), {"new.jpg"}).isEmpty());

        QCOMPARE(save(list, dir.path(), {"new.jpg"}), QString()); // an ordinary file is replaced
        QCOMPARE(readAll(list), (dir.path() + "/\r\nnew.jpg\r\n\r\n").toUtf8());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2); // no leftovers
    }
};

QTEST_GUILESS_MAIN(TestPickListFile)
#include "tst_PickListFile.moc"
