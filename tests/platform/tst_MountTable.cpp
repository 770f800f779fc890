// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/MountTable.h"

#include "support/RunWorld.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace
{

// A mount table as /proc/self/mountinfo spells it, with the optical discs of a desktop.
const QByteArray kTable = R"(22 28 0:21 / /proc rw,relatime - proc proc rw
28 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw,errors=remount-ro
40 28 11:0 / /media/cdrom0 ro,nosuid,nodev,relatime shared:20 - iso9660 /dev/sr0 ro,nojoliet,check=s
41 28 11:1 / /media/My\040Disc ro,relatime - udf /dev/sr1 ro,utf8
42 28 7:0 / /snap/core ro,nodev,relatime shared:3 - squashfs /dev/loop0 ro
43 28 0:50 / /mnt/iso rw,nosuid shared:9 - fuse.fuseiso fuseiso rw,user_id=0
44 28 11:2 / /media/back\134slash ro master:7 - iso9660 /dev/sr2 ro
45 28 0:51 / /media/cdrom0/inner rw - tmpfs tmpfs rw
this line is not a mount
46 28 0:52 / /broken rw no-separator-here
)";

} // namespace

class TestMountTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opticalFolders_data();
    void opticalFolders();
    void fieldsAreDecoded();
    void escapes_data();
    void escapes();
    void mountedOverLiesOnTop();
    void linksAreFollowed();
    void realTable();
    void runRefusesOpticalFolder();
};

void TestMountTable::opticalFolders_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("mountPoint"); // of the mount that holds the folder
    QTest::addColumn<QString>("optical");

    QTest::newRow("cdrom folder") << "/media/cdrom0/Photos"
                                  << "/media/cdrom0"
                                  << "/media/cdrom0";
    QTest::newRow("cdrom root") << "/media/cdrom0"
                                << "/media/cdrom0"
                                << "/media/cdrom0";
    QTest::newRow("cdrom, trailing slash") << "/media/cdrom0/"
                                           << "/media/cdrom0"
                                           << "/media/cdrom0";
    QTest::newRow("udf with a blank") << "/media/My Disc/Holiday"
                                      << "/media/My Disc"
                                      << "/media/My Disc";
    QTest::newRow("escaped backslash") << "/media/back\\slash/a"
                                       << "/media/back\\slash"
                                       << "/media/back\\slash";
    QTest::newRow("only a prefix by letters") << "/media/cdrom01/x"
                                              << "/"
                                              << "";
    QTest::newRow("dot-dot back onto the disc") << "/media/cdrom0/../cdrom0/x"
                                                << "/media/cdrom0"
                                                << "/media/cdrom0";
    QTest::newRow("dot-dot off the disc") << "/media/cdrom0/../other"
                                          << "/"
                                          << "";
    QTest::newRow("writable mount inside the disc") << "/media/cdrom0/inner/x"
                                                    << "/media/cdrom0/inner"
                                                    << "";
    QTest::newRow("squashfs is read-only, not optical") << "/snap/core/bin"
                                                        << "/snap/core"
                                                        << "";
    QTest::newRow("fuse iso is not the kernel's") << "/mnt/iso/a"
                                                  << "/mnt/iso"
                                                  << "";
    QTest::newRow("ordinary folder") << "/home/user/Pictures"
                                     << "/"
                                     << "";
    QTest::newRow("root") << "/"
                          << "/"
                          << "";
}

void TestMountTable::opticalFolders()
{
    QFETCH(QString, folder);
    QFETCH(QString, mountPoint);
    QFETCH(QString, optical);
    const MountTable table = MountTable::fromText(kTable);
    const MountTable::Mount *mount = table.mountOf(folder);
    QVERIFY(mount);
    QCOMPARE(mount->mountPoint, mountPoint);
    QCOMPARE(table.opticalMountPoint(folder), optical);
}

void TestMountTable::fieldsAreDecoded()
{
    const MountTable table = MountTable::fromText(kTable);
    QCOMPARE(table.mounts().size(), 8); // the two malformed lines are skipped
    const MountTable::Mount *disc = table.mountOf("/media/My Disc");
    QVERIFY(disc);
    QCOMPARE(disc->fileSystem, QStringLiteral("udf"));
    QCOMPARE(disc->source, QStringLiteral("/dev/sr1"));
    QCOMPARE(disc->options, QStringList({"ro", "relatime"}));
    QVERIFY(MountTable::fromText("").mounts().isEmpty());
    QVERIFY(!MountTable::fromText("").mountOf("/x"));
    QVERIFY(MountTable::fromFile("/nonexistent/mountinfo").mounts().isEmpty());
}

void TestMountTable::escapes_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QByteArray>("decoded");
    QTest::newRow("blank") << QByteArray("/a\\040b") << QByteArray("/a b");
    QTest::newRow("tab and newline") << QByteArray("\\011\\012") << QByteArray("\t\n");
    QTest::newRow("backslash") << QByteArray("a\\134b") << QByteArray("a\\b");
    QTest::newRow("high byte") << QByteArray("caf\\351") << QByteArray("caf\xe9");
    QTest::newRow("cut short") << QByteArray("a\\04") << QByteArray("a\\04");
    QTest::newRow("not octal") << QByteArray("a\\089") << QByteArray("a\\089");
    QTest::newRow("lone backslash at the end") << QByteArray("a\\") << QByteArray("a\\");
}

void TestMountTable::escapes()
{
    QFETCH(QByteArray, field);
    QFETCH(QByteArray, decoded);
    QCOMPARE(MountTable::decodeEscapes(field), decoded);
}

void TestMountTable::mountedOverLiesOnTop()
{
    const MountTable table =
        MountTable::fromText(kTable + "47 40 0:53 / /media/cdrom0 rw - tmpfs tmpfs rw\n");
    QCOMPARE(table.opticalMountPoint("/media/cdrom0/Photos"), QString());
    QCOMPARE(table.mountOf("/media/cdrom0/Photos")->fileSystem, QStringLiteral("tmpfs"));
}

void TestMountTable::linksAreFollowed()
{
    // A folder reached through a link lies where the link leads.
    QTemporaryDir root;
    const QString disc = QFileInfo(root.path()).canonicalFilePath() + "/disc";
    QVERIFY(QDir().mkpath(disc + "/Photos"));
    QVERIFY(QFile::link(disc, root.filePath("shortcut")));
    const MountTable table = MountTable::fromText("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n2 1 11:0 / " +
                                                  QFile::encodeName(disc) + " ro - iso9660 /dev/sr0 ro\n");
    QCOMPARE(table.opticalMountPoint(root.filePath("shortcut/Photos")), disc);
}

void TestMountTable::realTable()
{
    const MountTable table = MountTable::fromFile();
    QVERIFY(!table.mounts().isEmpty());
    QVERIFY(table.mountOf("/"));
    QCOMPARE(opticalMountPointOf(QDir::tempPath()), QString());
    if (!RunTmpfs::runningAsRoot())
        QSKIP("mounting a tmpfs needs root");
    QTemporaryDir root;
    const QString folder = QFileInfo(root.path()).canonicalFilePath() + "/my disc";
    QVERIFY(QDir().mkpath(folder));
    RunTmpfs disk(folder, "ro,size=64k");
    QVERIFY2(disk.isMounted(), qPrintable(disk.error()));
    const MountTable now = MountTable::fromFile();
    const MountTable::Mount *mount = now.mountOf(folder + "/");
    QVERIFY(mount);
    QCOMPARE(mount->mountPoint, folder);
    QCOMPARE(mount->fileSystem, QStringLiteral("tmpfs"));
    QVERIFY(mount->options.contains("ro"));
    QCOMPARE(now.opticalMountPoint(folder), QString());
}

void TestMountTable::runRefusesOpticalFolder()
{
    RunWorld w(QStringLiteral("My Disc"));
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    QVERIFY(runWriteJpeg(w.path("sm_a.jpg"), 20, 15));
    const QString mountPoint = QFileInfo(w.folder).canonicalFilePath();
    QByteArray escaped = QFile::encodeName(mountPoint);
    escaped.replace(" ", "\\040");
    const MountTable table = MountTable::fromText("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n9 1 11:0 / " +
                                                  escaped + " ro,relatime - iso9660 /dev/sr0 ro\n");
    w.opticalCheck = [&table](const QString &folder) { return table.opticalMountPoint(folder); };
    const QStringList before = runFolderNames(w.folder);
    w.show(mkJpg);
    w.options.setShownamebox(false);

    w.run->WebButtonClick();

    QCOMPARE(w.ui.messages, QStringList{"Can not write to CD ROM (" + mountPoint + ")"});
    QCOMPARE(runFolderNames(w.folder), before); // the old thumbnail is not deleted either
    QVERIFY(w.ui.errorBoxes.isEmpty());
    QVERIFY(!w.state.GenerationRunning);
    QCOMPARE(w.options.NameIncrement(), QStringLiteral("0"));
}

QTEST_GUILESS_MAIN(TestMountTable)
#include "tst_MountTable.moc"
