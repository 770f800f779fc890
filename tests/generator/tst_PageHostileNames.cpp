// SPDX-License-Identifier: GPL-2.0-or-later
#include "generator/PageBuilder.h"

#include "core/PageOptions.h"
#include "generator/RunFeedback.h"
#include "support/PageFixtures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// Pages built over names that try to break the page, checked by an independent HTML parser.
class tst_PageHostileNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pageParsesBackToTheNames_data();
    void pageParsesBackToTheNames();
    void checkerCatchesABrokenPage();

private:
    QString runChecker(const QByteArray &page, const QStringList &names, const QString &mode, int *exitCode);
};

static QStringList hostileNames()
{
    return {QStringLiteral("a b.jpg"),
            QStringLiteral(" lead.jpg"),
            QStringLiteral("trail .jpg"),
            QStringLiteral("a#1.jpg"),
            QStringLiteral("what?.jpg"),
            QStringLiteral("100%.jpg"),
            QStringLiteral("a%41.jpg"),
            QStringLiteral("a\\b.jpg"),
            QStringLiteral("tab\there.jpg"),
            QStringLiteral("nl\nx.jpg"),
            QStringLiteral("cr\rx.jpg"),
            QStringLiteral("del\x7fx.jpg"),
            QStringLiteral("javascript:alert(1).jpg"),
            QStringLiteral("c:x.jpg"),
            QStringLiteral("\"><script>alert(1)<script>.jpg"),
            QStringLiteral("<img src=x onerror=alert(1)>.jpg"),
            QStringLiteral("' onmouseover='alert(1).jpg"),
            QStringLiteral("&amp;.jpg"),
            QStringLiteral("x{|}^`[].jpg"),
            QStringLiteral("caf\u00e9.jpg"),
            QStringLiteral("\u65e5\u672c.jpg"),
            QStringLiteral("smile\U0001F600.jpg"),
            QStringLiteral("plain.jpg")};
}

QString tst_PageHostileNames::runChecker(const QByteArray &page, const QStringList &names, const QString &mode,
                                         int *exitCode)
{
    QTemporaryDir dir;
    PageFixtures::write(dir.filePath("page.htm"), page);
    PageFixtures::write(dir.filePath("names.json"), QJsonDocument(QJsonArray::fromStringList(names)).toJson());
    QProcess python;
    python.setProcessChannelMode(QProcess::MergedChannels);
    python.start(QStringLiteral("python3"),
                 {qEnvironmentVariable("TESSALOOM_SOURCE_DIR") + "/tests/generator/page_links_check.py",
                  dir.filePath("page.htm"), dir.filePath("names.json"), mode});
    if (!python.waitForFinished(60000))
        return QStringLiteral("python3 did not finish");
    *exitCode = python.exitStatus() == QProcess::NormalExit ? python.exitCode() : -1;
    return QString::fromUtf8(python.readAll());
}

void tst_PageHostileNames::pageParsesBackToTheNames_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("mode");
    QTest::newRow("picture cells with both labels") << int(mkJpg) << "picture";
    QTest::newRow("sound text cells with sizes") << int(mkWav) << "text";
}

void tst_PageHostileNames::pageParsesBackToTheNames()
{
    QFETCH(int, kind);
    QFETCH(QString, mode);
    QTemporaryDir dir;
    const QStringList names = hostileNames();
    for (const QString &name : names)
        QVERIFY2(PageFixtures::write(dir.filePath(name), QByteArray("x")), qPrintable(name));

    PageOptions options;
    options.mediaKindChanged(MediaKind(kind));
    options.clearPercentMarks();
    options.setPLabelStatus(true);
    options.setPLabelSize(true);
    options.setColumnEdit(3);
    QStringList memo;
    SilentFeedback feedback;
    QVERIFY(BuildWebSource({dir.path(), names, MediaKind(kind), "None"}, options, memo, feedback).ok);
    const QByteArray page = pageBytes(memo);

    int exitCode = -1;
    const QString problems = runChecker(page, names, mode, &exitCode);
    QVERIFY2(exitCode == 0, qPrintable(problems));
    // Ordinary names come out as they are.
    QVERIFY(page.contains("<A HREF=\"plain.jpg\">"));
    QVERIFY(page.contains("<A HREF=\"a b.jpg\">"));
}

// The checker itself must see the faults it is there for.
void tst_PageHostileNames::checkerCatchesABrokenPage()
{
    const QStringList names{QStringLiteral("c:x.jpg"), QStringLiteral("a#1.jpg")};
    const QByteArray page = "<HTML><BODY><TABLE><TR><TD><A HREF=\"c:x.jpg\"> c:x.jpg</A></TD>"
                            "<TD><A HREF=\"a#1.jpg\" onclick=\"x\"> a#1.jpg</A></TD><script></script>"
                            "</TR></TABLE></BODY></HTML>\r\n";
    int exitCode = -1;
    const QString problems = runChecker(page, names, QStringLiteral("text"), &exitCode);
    QCOMPARE(exitCode, 1);
    QVERIFY2(problems.contains("does not resolve to 'c:x.jpg'"), qPrintable(problems));
    QVERIFY2(problems.contains("does not resolve to 'a#1.jpg'"), qPrintable(problems));
    QVERIFY2(problems.contains("unexpected attribute onclick"), qPrintable(problems));
    QVERIFY2(problems.contains("unexpected element <script>"), qPrintable(problems));
}

QTEST_GUILESS_MAIN(tst_PageHostileNames)
#include "tst_PageHostileNames.moc"
