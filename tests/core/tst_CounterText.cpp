// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/CounterText.h"
#include "core/PageOptions.h"

#include <QLocale>
#include <QTest>

// The counter field shows ",0;(,0)" but the options must hold a counter a run can read back.
class TestCounterText : public QObject
{
    Q_OBJECT

    const QLocale m_english{QLocale::English, QLocale::UnitedStates};
    const QLocale m_german{QLocale::German, QLocale::Germany};

private Q_SLOTS:
    void displayAndPlain_data()
    {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("normalised");
        QTest::newRow("zero") << "0"
                              << "0"
                              << "0";
        QTest::newRow("leading zeros drop") << "007"
                                            << "7"
                                            << "7";
        QTest::newRow("grouped thousands") << "1234"
                                           << "1,234"
                                           << "1234";
        QTest::newRow("millions") << "1234567"
                                  << "1,234,567"
                                  << "1234567";
        QTest::newRow("negative in brackets") << "-1234"
                                              << "(1,234)"
                                              << "-1234";
        QTest::newRow("plus sign dropped") << "+12"
                                           << "12"
                                           << "12";
        QTest::newRow("minus zero") << "-000"
                                    << "0"
                                    << "0";
        QTest::newRow("empty reads as zero") << ""
                                             << "0"
                                             << "0";
        QTest::newRow("bare sign reads as zero") << "-"
                                                 << "0"
                                                 << "0";
        QTest::newRow("longer than any integer") << "12345678901234567890123"
                                                 << "12,345,678,901,234,567,890,123"
                                                 << "12345678901234567890123";
        QTest::newRow("not a number stays") << "12a"
                                            << "12a"
                                            << "12a";
    }

    void displayAndPlain()
    {
        QFETCH(QString, plain);
        QFETCH(QString, shown);
        QFETCH(QString, normalised);
        QCOMPARE(CounterText::display(plain, m_english), shown);
        QCOMPARE(CounterText::normalised(plain, m_english), normalised);
        QCOMPARE(CounterText::plain(shown, m_english), normalised);
    }

    // The counter the field shows must make the page name and step the way the plain digits do.
    void groupedCounterStillNamesThePage()
    {
        PageOptions options;
        options.setNameIncrement(CounterText::plain(QStringLiteral("1,234"), m_english));
        bool ok = false;
        QCOMPARE(options.pageFileName(QStringLiteral("/pics"), &ok),
                 QStringLiteral("/pics/MediaPage1234.htm"));
        QVERIFY(ok);
        QVERIFY(options.stepCounter());
        QCOMPARE(options.NameIncrement(), QStringLiteral("1235"));
        QCOMPARE(CounterText::display(options.NameIncrement(), m_english), QStringLiteral("1,235"));
    }

    void localeSeparator()
    {
        const QString shown = CounterText::display(QStringLiteral("1234567"), m_german);
        QCOMPARE(shown,
                 QStringLiteral("1") + m_german.groupSeparator() + "234" + m_german.groupSeparator() + "567");
        QCOMPARE(CounterText::plain(shown, m_german), QStringLiteral("1234567"));
    }

    void typedCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pos");
        QTest::addColumn<QString>("ch");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("digit") << "12" << 2 << "3" << true;
        QTest::newRow("sign at start") << "12" << 0 << "-" << true;
        QTest::newRow("plus at start") << "" << 0 << "+" << true;
        QTest::newRow("second sign") << "-12" << 0 << "-" << false;
        QTest::newRow("sign inside") << "12" << 1 << "-" << false;
        QTest::newRow("digit before sign") << "-12" << 0 << "5" << false;
        QTest::newRow("digit before bracket") << "(12)" << 0 << "5" << false;
        QTest::newRow("letter") << "12" << 2 << "a" << false;
        QTest::newRow("separator") << "12" << 2 << "," << false;
        QTest::newRow("blank") << "12" << 2 << " " << false;
        QTest::newRow("arabic-indic digit") << "1" << 1 << QString(QChar(0x0663)) << false;
    }

    void typedCharacters()
    {
        QFETCH(QString, text);
        QFETCH(int, pos);
        QFETCH(QString, ch);
        QFETCH(bool, accepted);
        QCOMPARE(CounterText::acceptsCharacter(text, pos, ch[0]), accepted);
    }
};

QTEST_GUILESS_MAIN(TestCounterText)
#include "tst_CounterText.moc"
