// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/kit/GaugeBar.h"
#include "ui/kit/GaugePercent.h"
#include "ui/guager.h"

#include <QPointer>
#include <QScreen>
#include <QTest>

#include <climits>

// The progress window and the percentage its bar writes.
class TestGuageForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void percentage_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<QString>("text");
        QTest::newRow("3 of 7 truncates") << 3 << 0 << 7 << "42%";
        QTest::newRow("2 of 3 truncates") << 2 << 0 << 3 << "66%";
        QTest::newRow("all done") << 7 << 0 << 7 << "100%";
        QTest::newRow("nothing done") << 0 << 0 << 7 << "0%";
        QTest::newRow("one short of all") << 99 << 0 << 100 << "99%";
        QTest::newRow("empty range") << 0 << 0 << 0 << "0%";
        QTest::newRow("past the end") << 9 << 0 << 7 << "100%";
        QTest::newRow("below the start") << -3 << 0 << 7 << "0%";
        QTest::newRow("offset range") << 15 << 10 << 20 << "50%";
        QTest::newRow("huge range does not overflow") << INT_MAX - 1 << 0 << INT_MAX << "99%";
    }
    void percentage()
    {
        QFETCH(int, value);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(QString, text);
        QCOMPARE(GaugePercent::text(value, minimum, maximum), text);
    }

    void layout()
    {
        QPointer<TGuageForm> form = new TGuageForm(nullptr);
        QCOMPARE(form->size(), QSize(350, 50));
        QVERIFY(form->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(form->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!form->mask().contains(QPoint(0, 0)));
        QVERIFY(form->mask().contains(QPoint(175, 25)));
        auto *gauge = form->findChild<GaugeBar *>(QStringLiteral("Gauge"));
        QVERIFY(gauge);
        QCOMPARE(gauge->geometry(), QRect(21, 20, 306, 13));
        QCOMPARE(gauge->orientation(), Qt::Horizontal);
        QCOMPARE(gauge->minimum(), 0);
        QCOMPARE(gauge->maximum(), 100);
        QCOMPARE(gauge->value(), 0);
        QVERIFY(gauge->font().bold());
        QCOMPARE(gauge->font().pixelSize(), 11);
        QCOMPARE(gauge->text(), QStringLiteral("0%"));
        delete form;
    }

    void progressOverSevenFiles()
    {
        TGuageForm form(nullptr);
        form.setMaximum(7);
        form.show();
        for (int file = 1; file <= 3; ++file)
            form.step();
        QCOMPARE(form.percentText(), QStringLiteral("42%"));
        QCOMPARE(form.Gauge()->text(), QStringLiteral("42%"));
        for (int file = 4; file <= 7; ++file)
            form.step();
        QCOMPARE(form.percentText(), QStringLiteral("100%"));
        form.step(); // a step too many stays at the end
        QCOMPARE(form.progress(), 7);
        form.setProgress(0);
        QCOMPARE(form.percentText(), QStringLiteral("0%"));
        form.hide();
    }

    void noFilesIsNoBusyIndicator()
    {
        TGuageForm form(nullptr);
        form.setMaximum(0);
        QVERIFY(form.Gauge()->maximum() > form.Gauge()->minimum());
        QCOMPARE(form.percentText(), QStringLiteral("0%"));
    }

    void barFillsWithTheShareDone()
    {
        TGuageForm form(nullptr);
        form.setMaximum(2);
        form.step();
        const QImage bar = form.Gauge()->grab().toImage();
        const QColor done = bar.pixelColor(10, 6), rest = bar.pixelColor(bar.width() - 10, 6);
        QCOMPARE(rest, QColor(192, 192, 192)); // the silver trough
        QVERIFY2(done.blue() > done.red() + 40, qPrintable(done.name()));
    }

    void placedBesideTheMainWindow_data()
    {
        QTest::addColumn<QPoint>("mainAt");
        QTest::newRow("near the corner") << QPoint(40, 60);
        QTest::newRow("further in") << QPoint(300, 210);
    }
    void placedBesideTheMainWindow()
    {
        QFETCH(QPoint, mainAt);
        QWidget main(nullptr, Qt::FramelessWindowHint);
        main.resize(649, 450);
        main.move(10, 10);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        main.move(mainAt); // moved before the run: the window follows
        QPointer<TGuageForm> form = new TGuageForm(&main);
        form->show();
        QCOMPARE(form->pos(), mainAt + QPoint(80, 30));
        form->hide();
        main.move(mainAt + QPoint(25, 5));
        form->show();
        QCOMPARE(form->pos(), mainAt + QPoint(105, 35)); // placed again at each showing
        form->close();
    }

    void centredWithoutAMainWindow()
    {
        TGuageForm form(nullptr);
        form.show();
        QCOMPARE(form.geometry().center(), form.screen()->availableGeometry().center());
        form.hide();
    }

    void closingReleasesIt()
    {
        QPointer<TGuageForm> form = new TGuageForm(nullptr);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        form->close();
        QTRY_VERIFY(form.isNull());
    }
};

QTEST_MAIN(TestGuageForm)
#include "tst_GuageForm.moc"
