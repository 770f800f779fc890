#include "core/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSafeFile : public QObject
{
    Q_OBJECT

    static QByteArray read(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static void write(const QString &path, const QByteArray &data)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(data);
    }

private Q_SLOTS:
    void writesAndReplacesRegularFiles()
    {
        QTemporaryDir dir;
        const QString page = dir.filePath("page.htm");
        QCOMPARE(SafeFile::writeAtomically(page, "one", SafeFile::Replace::RegularFileOnly), QString());
        QCOMPARE(read(page), QByteArray("one"));
        QCOMPARE(SafeFile::writeAtomically(page, "two", SafeFile::Replace::RegularFileOnly), QString());
        QCOMPARE(read(page), QByteArray("two"));
        QVERIFY(!SafeFile::writeAtomically(page, "three", SafeFile::Replace::Never).isEmpty());
        QCOMPARE(read(page), QByteArray("two"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"page.htm"});
    }
    void neverWritesThroughALink()
    {
        QTemporaryDir dir;
        const QString victim = dir.filePath("victim");
        write(victim, "precious");
        const QString link = dir.filePath("sm_a.jpg");
        QVERIFY(QFile::link(victim, link));
        QVERIFY(!SafeFile::writeAtomically(link, "x", SafeFile::Replace::RegularFileOnly).isEmpty());
        QVERIFY(!SafeFile::writeAtomically(link, "x", SafeFile::Replace::Never).isEmpty());
        QVERIFY(!SafeFile::copyNoReplace(dir.filePath("victim"), link).isEmpty());
        QCOMPARE(read(victim), QByteArray("precious"));
        const QString dangling = dir.filePath("bg.gif");
        QVERIFY(QFile::link(dir.filePath("nowhere"), dangling));
        QVERIFY(!SafeFile::copyNoReplace(victim, dangling).isEmpty());
        QVERIFY(!QFile::exists(dir.filePath("nowhere")));
    }
    void copyNeverReplaces()
    {
        QTemporaryDir dir;
        write(dir.filePath("a"), "new");
        write(dir.filePath("b"), "old");
        QVERIFY(!SafeFile::copyNoReplace(dir.filePath("a"), dir.filePath("b")).isEmpty());
        QCOMPARE(read(dir.filePath("b")), QByteArray("old"));
        QCOMPARE(SafeFile::copyNoReplace(dir.filePath("a"), dir.filePath("c")), QString());
        QCOMPARE(read(dir.filePath("c")), QByteArray("new"));
        QVERIFY(!SafeFile::copyNoReplace(dir.filePath("gone"), dir.filePath("d")).isEmpty());
    }
    void failedWriteLeavesOldFileWhole()
    {
        // A folder that cannot be written: the old file stays, no temporary is left.
        QTemporaryDir dir;
        const QString missing = dir.filePath("no/such/folder/page.htm");
        QVERIFY(!SafeFile::writeAtomically(missing, "x", SafeFile::Replace::RegularFileOnly).isEmpty());
        QVERIFY(!SafeFile::writeAtomically(dir.path(), "x", SafeFile::Replace::RegularFileOnly).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSafeFile)
#include "tst_SafeFile.moc"
