// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/EmailPage.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestEmailPage : public QObject
{
    Q_OBJECT

    static QByteArray contents(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void pageRefreshesToTheMailAddress()
    {
        const QByteArray page = EmailPage::text(QStringLiteral("help@example.org"));
        const QList<QByteArray> lines = page.split('\n');
        QCOMPARE(lines.size(), 4); // three lines and the empty rest after the last CR LF
        QCOMPARE(lines[0], QByteArray("<HTML>\r"));
        QCOMPARE(lines[1],
                 QByteArray("<META HTTP-EQUIV=\"Refresh\" CONTENT=\"1; URL=mailto:help@example.org\">\r"));
        QCOMPARE(lines[2], QByteArray("</HTML>\r"));
    }

    void writesIntoTheUsersDataFolder()
    {
        QTemporaryDir user;
        QString error;
        const QString path =
            EmailPage::write(user.filePath("data/tessaloom"), &error); // created when missing
        QCOMPARE(path, user.filePath("data/tessaloom/email.htm"));
        QVERIFY(error.isEmpty());
        QCOMPARE(contents(path), EmailPage::text());
    }

    void refusedFolderNamesTheFileAndReason_data()
    {
        QTest::addColumn<QString>("folder"); // relative to a temporary folder holding a plain file "file"
        QTest::addColumn<QString>("reason");
        QTest::newRow("under a plain file") << "file/data"
                                            << "";
        QTest::newRow("no folder at all") << ""
                                          << "no folder";
    }
    void refusedFolderNamesTheFileAndReason()
    {
        QFETCH(QString, folder);
        QFETCH(QString, reason);
        QTemporaryDir temp;
        QFile blocker(temp.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QString error;
        QVERIFY(EmailPage::write(folder.isEmpty() ? QString() : temp.filePath(folder), &error).isEmpty());
        QVERIFY2(error.contains("email.htm") && error.contains(reason), qPrintable(error));
        QVERIFY2(!error.endsWith(": "), qPrintable(error)); // a reason follows the name
    }

    // A link planted at the name is never written through.
    void plantedLinkIsNotFollowed()
    {
        QTemporaryDir user, elsewhere;
        const QString target = elsewhere.filePath("precious.txt");
        QFile precious(target);
        QVERIFY(precious.open(QIODevice::WriteOnly));
        precious.write("keep");
        precious.close();
        QVERIFY(QFile::link(target, user.filePath("email.htm")));
        QString error;
        QVERIFY(EmailPage::write(user.path(), &error).isEmpty());
        QVERIFY(error.contains("email.htm"));
        QCOMPARE(contents(target), QByteArray("keep"));
    }
};

QTEST_GUILESS_MAIN(TestEmailPage)
#include "tst_EmailPage.moc"
