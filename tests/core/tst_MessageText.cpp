// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/MessageText.h"

#include <QTest>

class TestMessageText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void escapesControlCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << QStringLiteral("a.jpg was created.") << QStringLiteral("a.jpg was created.");
        QTest::newRow("non-ASCII stays") << QStringLiteral("café – 写真.jpg") << QStringLiteral("café – 写真.jpg");
        QTest::newRow("line break") << QStringLiteral("a\nb") << QStringLiteral("a\\nb");
        QTest::newRow("carriage return") << QStringLiteral("a\rb") << QStringLiteral("a\\rb");
        QTest::newRow("tab") << QStringLiteral("a\tb") << QStringLiteral("a\\tb");
        QTest::newRow("escape sequence") << QStringLiteral("\x1b[31mred") << QStringLiteral("\\x1B[31mred");
        QTest::newRow("NUL and DEL") << QString::fromUtf16(u"a\0b\x7f", 4) << QStringLiteral("a\\x00b\\x7F");
        QTest::newRow("C1 control") << QString(QChar(0x9B)) + "2J" << QStringLiteral("\\x9B2J");
        QTest::newRow("line separator") << QString(QChar(0x2028)) << QStringLiteral("\\u2028");
    }
    void escapesControlCharacters()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(escapeControls(text), shown);
    }
};

QTEST_GUILESS_MAIN(TestMessageText)
#include "tst_MessageText.moc"
