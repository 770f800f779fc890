// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/FolderHandle.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestFolderHandle : public QObject
{
    Q_OBJECT

    static QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

private Q_SLOTS:
    // The handle keeps to the folder it entered; once the folder's path leads elsewhere it says so.
    void followsTheFolderEntered_data()
    {
        QTest::addColumn<QString>("change"); // what happens to the folder while it is held
        QTest::addColumn<bool>("stillThere");
        QTest::newRow("nothing") << "none" << true;
        QTest::newRow("renamed") << "rename" << false;
        QTest::newRow("renamed, a new folder in its place") << "replace" << false;
        QTest::newRow("deleted") << "delete" << false;
    }
    void followsTheFolderEntered()
    {
        QFETCH(QString, change);
        QFETCH(bool, stillThere);
        QTemporaryDir root;
        const QString folder = root.filePath("pics");
        QVERIFY(QDir().mkpath(folder));
        FolderHandle handle(folder);
        QVERIFY(handle.isOpen());
        QCOMPARE(handle.path(), folder);
        if (change == "rename" || change == "replace")
            QVERIFY(QDir(root.path()).rename("pics", "moved"));
        if (change == "replace")
            QVERIFY(QDir().mkpath(folder));
        if (change == "delete")
            QVERIFY(QDir(folder).removeRecursively());
        QCOMPARE(handle.stillThere(), stillThere);
        if (change == "delete")
            return;
        QFile file(handle.entry("a.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("made");
        file.close();
        const QString entered = change == "none" ? folder : root.filePath("moved");
        QCOMPARE(read(entered + "/a.txt"), QByteArray("made"));
        if (change == "replace")
            QCOMPARE(QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }

    void oneRunLocksAFolderAtATime()
    {
        QTemporaryDir root;
        auto first = std::make_unique<FolderHandle>(root.path());
        FolderHandle second(root.path());
        QVERIFY(first->tryLock());
        QVERIFY(!second.tryLock());
        first.reset(); // the lock goes with the handle
        QVERIFY(second.tryLock());
        FolderHandle missing(root.filePath("missing"));
        QVERIFY(!missing.isOpen());
        QVERIFY(!missing.error().isEmpty());
        QVERIFY(!missing.tryLock());
        QVERIFY(!missing.stillThere());
    }
};

QTEST_GUILESS_MAIN(TestFolderHandle)
#include "tst_FolderHandle.moc"
