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

    void writesBesideTheProgram()
    {
        QTemporaryDir program, user;
        QString error;
        const QString path = EmailPage::write(program.path(), user.filePath("data"), &error);
        QCOMPARE(path, program.filePath("email.htm"));
        QVERIFY(error.isEmpty());
        QCOMPARE(contents(path), EmailPage::text());
        QVERIFY(!QFile::exists(user.filePath("data/email.htm")));
    }

    // An installed program's folder takes no files: the page goes to the user's data folder.
    void unwritableProgramFolderFallsBack()
    {
        QTemporaryDir temp;
        QFile blocker(temp.filePath("notafolder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QString error;
        const QString path =
            EmailPage::write(temp.filePath("notafolder/bin"), temp.filePath("user/data"), &error);
        QCOMPARE(path, temp.filePath("user/data/email.htm"));
        QCOMPARE(contents(path), EmailPage::text());
    }

    void bothFoldersRefusedNamesTheFile()
    {
        QTemporaryDir temp;
        QFile blocker(temp.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QString error;
        QVERIFY(EmailPage::write(temp.filePath("file/a"), temp.filePath("file/b"), &error).isEmpty());
        QVERIFY2(error.contains("email.htm"), qPrintable(error));
    }

    // A link planted at the name is never written through.
    void plantedLinkIsNotFollowed()
    {
        QTemporaryDir program, user;
        const QString target = program.filePath("precious.txt");
        QFile precious(target);
        QVERIFY(precious.open(QIODevice::WriteOnly));
        precious.write("keep");
        precious.close();
        QVERIFY(QFile::link(target, program.filePath("email.htm")));
        QString error;
        const QString path = EmailPage::write(program.path(), user.path(), &error);
        QCOMPARE(path, user.filePath("email.htm"));
        QCOMPARE(contents(target), QByteArray("keep"));
    }
};

QTEST_GUILESS_MAIN(TestEmailPage)
#include "tst_EmailPage.moc"
