// SPDX-License-Identifier: GPL-2.0-or-later
// The console's progress line: its text, and how it is drawn, wiped and ended on a terminal.
#include "console/ConsoleProgress.h"

#include "support/CapturedStream.h"

#include <QRegularExpression>
#include <QTest>

#include <cstdio>

class TestConsoleProgress : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void text_data();
    void text();
    void drawnInPlaceAndEnded();
    void nothingDrawnNothingEnded();
};

void TestConsoleProgress::text_data()
{
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("total");
    QTest::addColumn<qint64>("elapsedMs");
    QTest::addColumn<QString>("line");
    QTest::newRow("nothing done yet: no estimate") << 0 << 340 << qint64(5000) << "0 of 340 pictures (0%)";
    QTest::newRow("seconds") << 1 << 4 << qint64(1500) << "1 of 4 pictures (25%), about 5 s left";
    QTest::newRow("a part of a second rounds up")
        << 9 << 10 << qint64(90) << "9 of 10 pictures (90%), about 1 s left";
    QTest::newRow("minutes with padded seconds")
        << 12 << 340 << qint64(2400) << "12 of 340 pictures (3%), about 1 min 06 s left";
    QTest::newRow("hours") << 1 << 1000 << qint64(10000) << "1 of 1000 pictures (0%), about 2 h 46 min left";
    QTest::newRow("the end: no estimate") << 340 << 340 << qint64(90000) << "340 of 340 pictures (100%)";
    QTest::newRow("an empty step") << 0 << 0 << qint64(0) << "0 of 0 pictures (100%)";
}

void TestConsoleProgress::text()
{
    QFETCH(int, done);
    QFETCH(int, total);
    QFETCH(qint64, elapsedMs);
    QFETCH(QString, line);
    QCOMPARE(progressLineText(done, total, elapsedMs), line);
}

void TestConsoleProgress::drawnInPlaceAndEnded()
{
    CapturedStream t; // a terminal in memory
    ConsoleProgress progress(t.file());
    progress.start();
    progress.setTotal(2);
    progress.step();
    QVERIFY(t.bytes().startsWith("\r1 of 2 pictures (50%), about "));
    progress.clear();
    std::fputs("a problem\n", t.file());
    progress.redraw();
    progress.step();
    progress.finish();
    // The line wiped for the message and drawn again; the shorter last line wipes the longer one first.
    static const QRegularExpression drawn(
        QStringLiteral("^\\r(1 of 2 pictures \\(50%\\), about \\d s left)\\r( +)\\r"
                       "a problem\\n\\r1 of 2 pictures \\(50%\\), about \\d s left"
                       "\\r +\\r\\r2 of 2 pictures \\(100%\\)\\n$"));
    const QRegularExpressionMatch m = drawn.match(QString::fromLatin1(t.bytes()));
    QVERIFY2(m.hasMatch(), t.bytes().constData());
    QCOMPARE(m.captured(2).size(), m.captured(1).size()); // the whole line blanked
    progress.finish();
    QVERIFY(t.bytes().endsWith("(100%)\n")); // ended once
}

void TestConsoleProgress::nothingDrawnNothingEnded()
{
    CapturedStream t; // a terminal in memory
    ConsoleProgress progress(t.file());
    progress.start();
    progress.setTotal(3);
    progress.clear();
    progress.redraw();
    progress.finish();
    QCOMPARE(t.bytes(), QByteArray());
}

QTEST_GUILESS_MAIN(TestConsoleProgress)
#include "tst_ConsoleProgress.moc"
