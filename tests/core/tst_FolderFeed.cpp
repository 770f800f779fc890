// SPDX-License-Identifier: GPL-2.0-or-later
// The file list's feed: one folder read and sorted off the caller's thread, kept current while files
// come and go, only the newest request's snapshot handed on.
#include "core/FolderEntryOrder.h"
#include "core/FolderFeed.h"
#include "core/NaturalOrder.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

void makeFile(const QString &path, int bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(QByteArray(bytes, 'x'));
}

QStringList namesOf(const FolderSnapshotPtr &snapshot)
{
    QStringList names;
    if (snapshot)
        for (const FolderEntry &entry : snapshot->entries)
            names << entry.name;
    return names;
}

// Collects the feed's snapshots; the last one is what a view shows.
struct Receiver {
    QList<FolderSnapshotPtr> snapshots;
    explicit Receiver(FolderFeed &feed)
    {
        QObject::connect(&feed, &FolderFeed::loaded, &feed,
                         [this](const FolderSnapshotPtr &snapshot) { snapshots << snapshot; });
    }
    QStringList names() const { return snapshots.isEmpty() ? QStringList() : namesOf(snapshots.last()); }
};

// A temporary folder shown through a feed, its first snapshot received.
struct FedFolder {
    QTemporaryDir dir;
    FolderFeed feed;
    Receiver received{feed};
    bool start()
    {
        feed.setFolder(dir.path());
        return QTest::qWaitFor([this] { return received.snapshots.size() == 1; });
    }
};

} // namespace

class tst_FolderFeed : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsFilesWithSizesInNameOrder()
    {
        QTemporaryDir dir;
        makeFile(dir.filePath("img10.jpg"), 3);
        makeFile(dir.filePath("IMG2.jpg"), 20);
        makeFile(dir.filePath("a.wav"), 0);
        makeFile(dir.filePath(".hidden.jpg"), 1);
        QVERIFY(QDir(dir.path()).mkdir("folder.jpg"));
        QVERIFY(QFile::link(dir.filePath("img10.jpg"), dir.filePath("link.jpg")));
        FolderFeed feed;
        Receiver received(feed);
        feed.setFolder(dir.path());
        QTRY_COMPARE(received.snapshots.size(), 1);
        const FolderSnapshotPtr snapshot = received.snapshots.last();
        QCOMPARE(snapshot->folder, dir.path());
        QVERIFY(snapshot->error.isEmpty());
        QCOMPARE(namesOf(snapshot), (QStringList{"a.wav", "IMG2.jpg", "img10.jpg", "link.jpg"}));
        QCOMPARE(snapshot->entries[1].size, 20);
        QCOMPARE(snapshot->entries[3].size, 3); // a link shows what it leads to
        const qint64 written = QFileInfo(dir.filePath("IMG2.jpg")).lastModified().toMSecsSinceEpoch();
        QCOMPARE(snapshot->entries[1].modifiedMs, written);
    }

    void sortsByEachColumn_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("order");
        QTest::addColumn<QStringList>("expected");
        // sizes: b.gif 5, a10.jpg 5, a9.JPG 1, c.wav 9; times: c.wav oldest, then a9, b, a10
        QTest::newRow("name") << int(NameColumn) << int(Qt::AscendingOrder)
                              << QStringList{"a9.JPG", "a10.jpg", "b.gif", "c.wav"};
        QTest::newRow("name descending") << int(NameColumn) << int(Qt::DescendingOrder)
                                         << QStringList{"c.wav", "b.gif", "a10.jpg", "a9.JPG"};
        QTest::newRow("size, ties by name") << int(SizeColumn) << int(Qt::AscendingOrder)
                                            << QStringList{"a9.JPG", "a10.jpg", "b.gif", "c.wav"};
        QTest::newRow("size descending") << int(SizeColumn) << int(Qt::DescendingOrder)
                                         << QStringList{"c.wav", "b.gif", "a10.jpg", "a9.JPG"};
        QTest::newRow("type, letter case ignored") << int(TypeColumn) << int(Qt::AscendingOrder)
                                                   << QStringList{"b.gif", "a9.JPG", "a10.jpg", "c.wav"};
        QTest::newRow("date") << int(DateColumn) << int(Qt::AscendingOrder)
                              << QStringList{"c.wav", "a9.JPG", "b.gif", "a10.jpg"};
    }

    void sortsByEachColumn()
    {
        QFETCH(int, column);
        QFETCH(int, order);
        QFETCH(QStringList, expected);
        QTemporaryDir dir;
        const QDateTime base = QDateTime::currentDateTime().addDays(-1);
        const QList<std::tuple<QString, int, int>> files{
            {"c.wav", 9, 0}, {"a9.JPG", 1, 60}, {"b.gif", 5, 120}, {"a10.jpg", 5, 180}};
        for (const auto &[name, bytes, seconds] : files) {
            makeFile(dir.filePath(name), bytes);
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(base.addSecs(seconds), QFileDevice::FileModificationTime));
        }
        FolderFeed feed;
        Receiver received(feed);
        feed.setFolder(dir.path());
        QTRY_COMPARE(received.names().size(), 4);
        feed.sortBy(column, Qt::SortOrder(order));
        QTRY_VERIFY(received.snapshots.last()->column == column && received.snapshots.last()->order == order);
        QCOMPARE(received.names(), expected);
    }

    // Re-sorting works on what was read: a file that came meanwhile waits for the folder's change report.
    void sortingDoesNotReadAgain()
    {
        FedFolder f;
        makeFile(f.dir.filePath("a.jpg"), 1);
        QVERIFY(f.start());
        f.feed.reread(); // nothing changed: the same files again
        QTRY_COMPARE(f.received.snapshots.size(), 2);
        QCOMPARE(f.received.names(), QStringList{"a.jpg"});
    }

    void onlyTheNewestRequestArrives()
    {
        QTemporaryDir first, second;
        makeFile(first.filePath("first.jpg"), 1);
        makeFile(second.filePath("second.jpg"), 1);
        FolderFeed feed;
        Receiver received(feed);
        feed.setFolder(first.path());
        feed.setFolder(second.path());
        feed.sortBy(NameColumn, Qt::DescendingOrder);
        QTRY_VERIFY(!received.snapshots.isEmpty());
        QTest::qWait(200); // a stale snapshot would arrive by now
        QCOMPARE(received.snapshots.size(), 1);
        QCOMPARE(received.snapshots.last()->folder, second.path());
        QCOMPARE(received.snapshots.last()->order, Qt::DescendingOrder);
    }

    void manyFilesComingAndGoingWhileWatched()
    {
        FedFolder f;
        QTemporaryDir &dir = f.dir;
        Receiver &received = f.received;
        makeFile(dir.filePath("kept.jpg"), 1);
        QVERIFY(f.start());
        QStringList expected{"kept.jpg"};
        for (int i = 0; i < 1000; ++i) {
            const QString name = QStringLiteral("IMG_%1.JPG").arg(i);
            makeFile(dir.filePath(name), i % 13);
            expected << name;
        }
        std::sort(expected.begin(), expected.end(), naturalLess);
        QTRY_COMPARE(received.names(), expected);
        // The burst is read a few times, not once per file.
        QVERIFY2(received.snapshots.size() < 50, qPrintable(QString::number(received.snapshots.size())));
        const FolderEntry &last = received.snapshots.last()->entries[expected.indexOf("IMG_999.JPG")];
        QCOMPARE(last.size, 999 % 13);

        for (int i = 0; i < 1000; i += 2)
            QVERIFY(QFile::remove(dir.filePath(QStringLiteral("IMG_%1.JPG").arg(i))));
        expected.removeIf([](const QString &name) {
            return name != "kept.jpg" && name.mid(4).chopped(4).toInt() % 2 == 0;
        });
        QTRY_COMPARE(received.names(), expected);
        QCOMPARE(received.names().size(), 501);
    }

    void aFolderThatGoesAwayLeavesNoFiles()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("gone");
        QVERIFY(QDir().mkdir(folder));
        makeFile(folder + "/a.jpg", 1);
        FolderFeed feed;
        Receiver received(feed);
        feed.setFolder(folder);
        QTRY_COMPARE(received.names(), QStringList{"a.jpg"});
        QVERIFY(QDir(folder).removeRecursively());
        QTRY_VERIFY(received.names().isEmpty());
        QVERIFY(!received.snapshots.last()->error.isEmpty());
        // made again under the same name: seen again when asked
        QVERIFY(QDir().mkdir(folder));
        makeFile(folder + "/b.jpg", 1);
        feed.reread();
        QTRY_COMPARE(received.names(), QStringList{"b.jpg"});
        makeFile(folder + "/c.jpg", 1); // and watched again
        QTRY_COMPARE(received.names(), (QStringList{"b.jpg", "c.jpg"}));
    }

    void fileTypeTexts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("type");
        QTest::newRow("extension") << "a.jpg"
                                   << "JPG File";
        QTest::newRow("last dot counts") << "a.tar.gz"
                                         << "GZ File";
        QTest::newRow("no extension") << "README"
                                      << "File";
        QTest::newRow("trailing dot") << "a."
                                      << "File";
    }
    void fileTypeTexts()
    {
        QFETCH(QString, name);
        QFETCH(QString, type);
        QCOMPARE(fileTypeText(name), type);
    }
};

QTEST_GUILESS_MAIN(tst_FolderFeed)
#include "tst_FolderFeed.moc"
