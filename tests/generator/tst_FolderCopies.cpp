// SPDX-License-Identifier: GPL-2.0-or-later
#include "generator/FolderCopies.h"

#include "support/RunFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace FolderCopies;

class TestFolderCopies : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pathParts_data();
    void pathParts();
    void copies_data();
    void copies();
    void copyOntoItself();
};

void TestFolderCopies::pathParts_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("folder");
    QTest::newRow("plain") << "/art/bg.gif"
                           << "bg.gif"
                           << "/art";
    QTest::newRow("quoted with a blank") << "\"/my art/bg.gif\""
                                         << "bg.gif"
                                         << "/my art";
    QTest::newRow("in the root") << "/bg.gif"
                                 << "bg.gif"
                                 << "/";
    QTest::newRow("bare name") << "bg.gif"
                               << "bg.gif"
                               << "";
    QTest::newRow("folder only") << "/art/"
                                 << ""
                                 << "/art";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
}

void TestFolderCopies::pathParts()
{
    QFETCH(QString, option);
    QFETCH(QString, name);
    QFETCH(QString, folder);
    QCOMPARE(fileNamePart(unquoted(option)), name);
    QCOMPARE(folderPart(unquoted(option)), folder);
}

void TestFolderCopies::copies_data()
{
    QTest::addColumn<bool>("replacing");
    QTest::addColumn<QString>("source");   // "picture", "missing", "device", "fifo"
    QTest::addColumn<QString>("atTarget"); // "", "file", "link", "dangling", "folder"
    QTest::addColumn<bool>("copied");

    for (const bool replacing : {false, true}) {
        const char *mode = replacing ? "replacing: " : "plain: ";
        QTest::addRow("%sfree name", mode) << replacing << "picture"
                                           << "" << true;
        QTest::addRow("%sa file of the name", mode) << replacing << "picture"
                                                    << "file" << replacing;
        QTest::addRow("%sa planted link", mode) << replacing << "picture"
                                                << "link" << false;
        QTest::addRow("%sa dangling link", mode) << replacing << "picture"
                                                 << "dangling" << false;
        QTest::addRow("%sa folder of the name", mode) << replacing << "picture"
                                                      << "folder" << false;
        QTest::addRow("%ssource gone", mode) << replacing << "missing"
                                             << "file" << false;
        QTest::addRow("%ssource a device", mode) << replacing << "device"
                                                 << "" << false;
        QTest::addRow("%ssource a FIFO", mode) << replacing << "fifo"
                                               << "" << false;
    }
}

void TestFolderCopies::copies()
{
    QFETCH(bool, replacing);
    QFETCH(QString, source);
    QFETCH(QString, atTarget);
    QFETCH(bool, copied);

    QTemporaryDir root;
    QDir().mkpath(root.filePath("page"));
    const QString target = root.filePath("page/bg.gif");
    const QString victim = root.filePath("victim");
    QVERIFY(runWriteBytes(victim, "precious"));
    QString from = root.filePath("chosen.gif");
    if (source == "picture")
        QVERIFY(runWriteBytes(from, "chosen"));
    if (source == "device")
        QVERIFY(QFile::link("/dev/zero", from));
    if (source == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(from).constData(), 0600), 0);
    if (atTarget == "file")
        QVERIFY(runWriteBytes(target, "older"));
    if (atTarget == "link")
        QVERIFY(QFile::link(victim, target));
    if (atTarget == "dangling")
        QVERIFY(QFile::link(root.filePath("nowhere"), target));
    if (atTarget == "folder")
        QVERIFY(QDir().mkpath(target));

    const QString error = replacing ? copyInReplacing(from, target) : copyIn(from, target);

    QCOMPARE(error.isEmpty(), copied);
    if (copied)
        QCOMPARE(runReadBytes(target), QByteArray("chosen"));
    else if (atTarget == "file")
        QCOMPARE(runReadBytes(target), QByteArray("older"));
    else if (atTarget == "link" || atTarget == "dangling")
        QVERIFY(QFileInfo(target).isSymLink());
    else if (atTarget.isEmpty())
        QVERIFY(!QFileInfo(target).exists() && !QFileInfo(target).isSymLink());
    QCOMPARE(runReadBytes(victim), QByteArray("precious"));
    QVERIFY(!QFile::exists(root.filePath("nowhere")));
    const QStringList left = runFolderNames(root.filePath("page"));
    QCOMPARE(left, atTarget.isEmpty() && !copied ? QStringList() : QStringList{"bg.gif"});
}

void TestFolderCopies::copyOntoItself()
{
    // The chosen picture already is the page folder's, reached by another spelling: it stays whole.
    QTemporaryDir root;
    QVERIFY(runWriteBytes(root.filePath("bg.gif"), "mine"));
    QCOMPARE(copyInReplacing(root.path() + "/./bg.gif", root.filePath("bg.gif")), QString());
    QCOMPARE(runReadBytes(root.filePath("bg.gif")), QByteArray("mine"));
    QCOMPARE(runFolderNames(root.path()), QStringList{"bg.gif"});
}

QTEST_GUILESS_MAIN(TestFolderCopies)
#include "tst_FolderCopies.moc"
