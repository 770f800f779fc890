// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/RemoveSpaces.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace
{

void makeFile(const QDir &dir, const QString &name, const QByteArray &content)
{
    QFile file(dir.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray contentOf(const QDir &dir, const QString &name)
{
    QFile file(dir.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class TestRemoveSpaces : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void renamesWithoutEverReplacing_data()
    {
        QTest::addColumn<QStringList>("present"); // files in the folder, content = own name
        QTest::addColumn<QStringList>("workingList");
        QTest::addColumn<QStringList>("after");  // the folder's names afterwards, sorted
        QTest::addColumn<QStringList>("failed"); // entries reported as left alone
        QTest::addColumn<int>("renamed");

        QTest::newRow("one space") << QStringList{"my photo.jpg"} << QStringList{"my photo.jpg"}
                                   << QStringList{"myphoto.jpg"} << QStringList{} << 1;
        QTest::newRow("every space, other characters kept")
            << QStringList{" a  b-c_d .gif"} << QStringList{" a  b-c_d .gif"} << QStringList{"ab-c_d.gif"}
            << QStringList{} << 1;
        QTest::newRow("name taken: reported, the next entry still done")
            << QStringList{"a b.jpg", "ab.jpg", "c d.jpg"} << QStringList{"a b.jpg", "c d.jpg"}
            << QStringList{"a b.jpg", "ab.jpg", "cd.jpg"} << QStringList{"a b.jpg"} << 1;
        QTest::newRow("second entry collides with the first's new name")
            << QStringList{"a b.jpg", "ab .jpg"} << QStringList{"a b.jpg", "ab .jpg"}
            << QStringList{"ab .jpg", "ab.jpg"} << QStringList{"ab .jpg"} << 1;
        QTest::newRow("spaces and extension only")
            << QStringList{"   .jpg"} << QStringList{"   .jpg"} << QStringList{".jpg"} << QStringList{} << 1;
        QTest::newRow("nothing but spaces is refused")
            << QStringList{"   "} << QStringList{"   "} << QStringList{"   "} << QStringList{"   "} << 0;
        QTest::newRow("names without spaces untouched")
            << QStringList{"plain.jpg"} << QStringList{"plain.jpg"} << QStringList{"plain.jpg"}
            << QStringList{} << 0;
        QTest::newRow("file gone meanwhile") << QStringList{} << QStringList{"gone now.jpg"} << QStringList{}
                                             << QStringList{"gone now.jpg"} << 0;
        QTest::newRow("empty working list")
            << QStringList{"x y.jpg"} << QStringList{} << QStringList{"x y.jpg"} << QStringList{} << 0;
    }

    void renamesWithoutEverReplacing()
    {
        QFETCH(QStringList, present);
        QFETCH(QStringList, workingList);
        QFETCH(QStringList, after);
        QFETCH(QStringList, failed);
        QFETCH(int, renamed);
        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        for (const QString &name : std::as_const(present))
            makeFile(dir, name, name.toUtf8());

        const RemoveSpacesResult result = RemoveSpacesFromFileNames(tmp.path(), workingList);

        QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
        QCOMPARE(names, after);
        QStringList reported;
        for (const RenameFailure &failure : result.failures)
            reported << failure.oldName;
        QCOMPARE(reported, failed);
        QCOMPARE(result.renamed, renamed);
        // Every file keeps its own content: nothing was replaced.
        for (const QString &name : std::as_const(present)) {
            const QString now = dir.exists(name) ? name : WithoutSpaces(name);
            QCOMPARE(contentOf(dir, now), name.toUtf8());
        }
    }

    void danglingLinkOfTheNewNameIsNotReplaced()
    {
        QTemporaryDir tmp;
        const QDir dir(tmp.path());
        makeFile(dir, "a b.jpg", "picture");
        QVERIFY(QFile::link(dir.filePath("nowhere"), dir.filePath("ab.jpg")));
        const RemoveSpacesResult result = RemoveSpacesFromFileNames(tmp.path(), {"a b.jpg"});
        QCOMPARE(result.failures.size(), 1);
        QCOMPARE(contentOf(dir, "a b.jpg"), QByteArray("picture"));
        QVERIFY(QFileInfo(dir.filePath("ab.jpg")).isSymLink());
    }

    void messages()
    {
        RemoveSpacesResult clean;
        clean.renamed = 2;
        QCOMPARE(RemoveSpacesMessage("/home/me/Pics", clean),
                 QStringList{QStringLiteral(
                     "All spaces have been removed from all filenames in the \"/home/me/Pics\" directory")});
        RemoveSpacesResult partial;
        partial.renamed = 1;
        partial.failures.append({"a b.jpg", "ab.jpg", "a file of that name exists already"});
        const QStringList lines = RemoveSpacesMessage("/p", partial);
        QCOMPARE(lines.size(), 3); // the heading, the file left as it was, the count of the others
        QVERIFY(!lines[0].startsWith("All spaces"));
        QCOMPARE(lines[1], QStringLiteral("\"a b.jpg\" -> \"ab.jpg\": a file of that name exists already"));
        QVERIFY2(lines[2].contains("1 other filename"), qPrintable(lines[2]));
    }
};

QTEST_GUILESS_MAIN(TestRemoveSpaces)
#include "tst_RemoveSpaces.moc"
