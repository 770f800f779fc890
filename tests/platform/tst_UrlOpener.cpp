// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/UrlOpener.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

// The desktop opener runs the launcher found on PATH; these launchers are small scripts standing in
// for a desktop with a browser, one without, and one without any launcher.
class TestUrlOpener : public QObject
{
    Q_OBJECT

    QByteArray m_path;

    static bool writeLauncher(const QString &folder, const QByteArray &body)
    {
        QFile file(folder + QStringLiteral("/xdg-open"));
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write("#!/bin/sh\n" + body + "\n");
        file.close();
        return file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

private Q_SLOTS:
    void initTestCase() { m_path = qgetenv("PATH"); }
    void cleanup() { qputenv("PATH", m_path); }

    void reportsWhatTheLauncherSays_data()
    {
        QTest::addColumn<QByteArray>("launcher"); // script body; empty: no launcher at all
        QTest::addColumn<bool>("started");
        QTest::addColumn<bool>("failedLater");
        QTest::newRow("a browser opens the page")
            << QByteArray("echo \"$1\" > \"${0%/*}/opened\"") << true << false;
        QTest::newRow("no program for pages") << QByteArray("exit 3") << true << true;
        QTest::newRow("the launcher is killed") << QByteArray("kill -9 $$") << true << true;
        QTest::newRow("no launcher installed") << QByteArray() << false << false;
    }
    void reportsWhatTheLauncherSays()
    {
        QFETCH(QByteArray, launcher);
        QFETCH(bool, started);
        QFETCH(bool, failedLater);
        QTemporaryDir bin;
        QTemporaryDir pages;
        if (!launcher.isEmpty())
            QVERIFY(writeLauncher(bin.path(), launcher));
        qputenv("PATH", QFile::encodeName(bin.path())); // nothing else is found
        const QString page = pages.filePath(QStringLiteral("My Page.htm"));
        QFile pageFile(page);
        QVERIFY(pageFile.open(QIODevice::WriteOnly));
        pageFile.close();

        DesktopUrlOpener opener;
        int failures = 0;
        QCOMPARE(opener.openFile(page, pages.path(), [&] { ++failures; }), started);
        if (failedLater) {
            QTRY_COMPARE(failures, 1);
        } else if (started) {
            QTRY_VERIFY(QFile::exists(bin.filePath(QStringLiteral("opened"))));
            QFile opened(bin.filePath(QStringLiteral("opened")));
            QVERIFY(opened.open(QIODevice::ReadOnly));
            QCOMPARE(opened.readAll().trimmed(), QUrl::fromLocalFile(page).toEncoded());
            QTest::qWait(100); // the launcher's end is heard, and it is no failure
            QCOMPARE(failures, 0);
        } else {
            QCOMPARE(failures, 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestUrlOpener)
#include "tst_UrlOpener.moc"
