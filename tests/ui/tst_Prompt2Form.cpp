// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/kit/PictureButton.h"
#include "ui/kit/ShadowText.h"
#include "ui/kit/Skin.h"
#include "ui/kit/WrappedText.h"
#include "ui/prompt2.h"

#include <QApplication>
#include <QFontMetrics>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <functional>

// The message window, and the wrapping and cutting of its text.
class TestPrompt2Form : public QObject
{
    Q_OBJECT

private:
    static QFont messageFont()
    {
        QFont font(QStringLiteral("Times New Roman"));
        font.setPixelSize(13);
        font.setBold(true);
        return font;
    }

    // Runs `answer` on the message window as soon as it is up modally.
    static void whenShown(const std::function<void(TPrompt2Form *)> &answer)
    {
        auto *poll = new QTimer;
        poll->setInterval(10);
        QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
            if (auto *form = qobject_cast<TPrompt2Form *>(QApplication::activeModalWidget())) {
                poll->deleteLater();
                poll->stop();
                answer(form);
            }
        });
        poll->start();
    }

private Q_SLOTS:
    void wrapsAndCuts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("cut");
        QTest::newRow("short") << "You must choose a file first" << 1 << false;
        QTest::newRow("two lines at a word boundary")
            << "/home/ann/pictures/holiday/MediaPage.htm does not exist in /home/ann" << 2 << false;
        QTest::newRow("long sentence")
            << QString("All the spaces were taken out of the names. ").repeated(4) << 2 << true;
        QTest::newRow("long path without spaces")
            << "/home/ann/" + QString("averyveryverylongfoldername/").repeated(5) + " was created." << 2
            << true;
        QTest::newRow("line breaks kept") << "first\nsecond" << 2 << false;
        QTest::newRow("empty") << "" << 1 << false;
    }
    void wrapsAndCuts()
    {
        QFETCH(QString, text);
        QFETCH(int, lines);
        QFETCH(bool, cut);
        const QSize box(303, 40);
        const WrappedText::Fit fit = WrappedText::fit(text, messageFont(), box);
        QCOMPARE(fit.lines.size(), lines);
        QCOMPARE(fit.cut, cut);
        const QFontMetrics metrics(messageFont());
        QVERIFY(fit.lines.size() * metrics.height() <= box.height());
        for (const QString &line : fit.lines)
            QVERIFY2(metrics.horizontalAdvance(line) <= box.width(), qPrintable(line));
        if (cut) {
            QVERIFY(fit.lines.last().endsWith(QChar(0x2026)));
        } else {
            // Nothing lost: the words shown are the words given.
            QCOMPARE(fit.lines.join(u' ').simplified(), QString(text).replace(u'\n', u' ').simplified());
        }
    }

    void wordsAreNotBrokenWhenTheyFit()
    {
        const WrappedText::Fit fit = WrappedText::fit(
            QStringLiteral("alpha beta gamma delta epsilon zeta eta theta iota kappa lambda"), messageFont(),
            QSize(303, 40));
        const QStringList words = fit.lines.join(u' ').split(u' ');
        for (const QString &word : words)
            QVERIFY2(QStringLiteral("alpha beta gamma delta epsilon zeta eta theta iota kappa lambda")
                         .split(u' ')
                         .contains(word),
                     qPrintable(word));
    }

    void aBoxTooLowShowsNothing()
    {
        const WrappedText::Fit fit = WrappedText::fit(QStringLiteral("text"), messageFont(), QSize(303, 4));
        QVERIFY(fit.lines.isEmpty());
        QVERIFY(fit.cut);
    }

    void layout()
    {
        TPrompt2Form form;
        QCOMPARE(form.size(), QSize(384, 64));
        QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!form.mask().contains(QPoint(0, 0))); // black corners cut out
        QVERIFY(form.mask().contains(QPoint(192, 32)));
        ShadowText *label = form.findChild<ShadowText *>(QStringLiteral("promptmessage"));
        QVERIFY(label);
        QCOMPARE(label, form.promptmessage());
        QCOMPARE(label->geometry(), QRect(27, 13, 303, 40));
        QCOMPARE(label->font().family(), QStringLiteral("Times New Roman"));
        QCOMPARE(label->font().pixelSize(), 13);
        QVERIFY(label->font().bold());
        QCOMPARE(label->text(), QStringLiteral("You must choose a file first"));
        auto *ok = form.findChild<PictureButton *>(QStringLiteral("OKButton"));
        QVERIFY(ok);
        QCOMPARE(ok->geometry(), QRect(328, 13, 42, 37));
    }

    // A text longer than the box grows the window by whole lines, keeping its width, so the file's
    // name and the reason at the end of a message always show; a short one keeps the window's size.
    void longTextsGrowTheWindow_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("grows");
        QTest::addColumn<QString>("end"); // what must show at the end of the text
        const QString deep = QStringLiteral("/home/someone/Pictures/Holidays/2024 Summer by the sea/"
                                            "Day three at the harbour/camera one");
        QTest::newRow("short") << QStringLiteral("There are no files to use...") << false
                               << QStringLiteral("use...");
        QTest::newRow("pick list load") << QStringLiteral("Some of the files of the list are not in %1. "
                                                          "They were left out of the pictures folder")
                                               .arg(deep)
                                        << true << QStringLiteral("pictures folder");
        QTest::newRow("rename failure with its reason")
            << QStringLiteral("Can not rename %1/my holiday picture.jpg to %1/myholidaypicture.jpg "
                              "(Permission denied)")
                   .arg(deep)
            << true << QStringLiteral("(Permission denied)");
        QTest::newRow("one long word")
            << QString(deep).remove(' ') + QStringLiteral("/file.jpg") << true << QStringLiteral("file.jpg");
    }
    void longTextsGrowTheWindow()
    {
        QFETCH(QString, text);
        QFETCH(bool, grows);
        QFETCH(QString, end);
        TPrompt2Form form;
        form.setText(text);
        const WrappedText::Fit shown = form.promptmessage()->shownText();
        QVERIFY2(!shown.cut, qPrintable(shown.lines.join('|')));
        QVERIFY2(shown.lines.join(QString()).remove(' ').endsWith(QString(end).remove(' ')),
                 qPrintable(shown.lines.join('|')));
        QCOMPARE(form.width(), 384);
        QCOMPARE(form.height() > 64, grows);
        QCOMPARE(form.promptmessage()->height(), form.height() - 24);
        QVERIFY(form.mask().contains(QPoint(192, form.height() - 12))); // the grown part is window
        QVERIFY(!form.mask().contains(QPoint(0, form.height() - 1)));   // corners still cut out

        form.setText(QStringLiteral("Done."));
        QCOMPARE(form.size(), QSize(384, 64));
        QCOMPARE(form.promptmessage()->geometry(), QRect(27, 13, 303, 40));
    }

    // A grown window looks like the short one, only taller: its emblem and the OK button's rim once and
    // whole, the bottom edge as it was, and between them the rows of the message's well.
    void aGrownWindowLooksLikeTheShortOneOnlyTaller()
    {
        TPrompt2Form form;
        const Skin *skin = form.findChild<Skin *>();
        QVERIFY(skin);
        const QImage small = skin->pixmap().toImage();
        QCOMPARE(small.size(), QSize(384, 64));
        form.setText(QStringLiteral("These files keep their spaces:\nfirst\nsecond\nthird\nfourth\nfifth"));
        const QImage tall = skin->pixmap().toImage().convertToFormat(small.format());
        const int added = tall.height() - small.height();
        QVERIFY2(added > 30, qPrintable(QString::number(added)));
        const auto sameRow = [&](int tallRow, int smallRow) {
            return std::equal(tall.constScanLine(tallRow), tall.constScanLine(tallRow) + small.bytesPerLine(),
                              small.constScanLine(smallRow));
        };
        const int belowRim = 52; // the first row under the OK button's rim
        for (int y = 0; y <= belowRim; ++y)
            QVERIFY2(sameRow(y, y), qPrintable(QStringLiteral("row %1").arg(y)));
        for (int y = belowRim + 1; y < small.height(); ++y)
            QVERIFY2(sameRow(y + added, y), qPrintable(QStringLiteral("bottom row %1").arg(y)));
        for (int y = belowRim + 1; y <= belowRim + added; ++y)
            QVERIFY2(sameRow(y, belowRim), qPrintable(QStringLiteral("grown row %1").arg(y)));
    }

    void theLabelDrawsBlackTextWithAWhiteShadow()
    {
        TPrompt2Form form;
        form.setText(QStringLiteral("WWWWWWWW"));
        const QImage shot = form.promptmessage()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        bool black = false, white = false;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x) {
                const QRgb pixel = shot.pixel(x, y);
                black |= qAlpha(pixel) == 255 && qGray(pixel) < 40;
                white |=
                    qAlpha(pixel) > 200 && qRed(pixel) > 220 && qGreen(pixel) > 220 && qBlue(pixel) > 220;
            }
        }
        QVERIFY(black);
        QVERIFY(white);
        QVERIFY(!form.promptmessage()->shownText().cut);
    }

    void showsModallyCentredAndOkCloses()
    {
        TPrompt2Form form;
        QString seen;
        QRect where;
        bool modal = false;
        whenShown([&](TPrompt2Form *shown) {
            seen = shown->promptmessage()->text();
            where = shown->geometry();
            modal = shown->isModal();
            QTest::mouseClick(shown->OKButton(), Qt::LeftButton);
        });
        form.showMessage(QStringLiteral("/tmp/pictures does not exist in /tmp"));
        QCOMPARE(seen, QStringLiteral("/tmp/pictures does not exist in /tmp"));
        QVERIFY(modal);
        QCOMPARE(where.center(), form.screen()->availableGeometry().center());
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(form.text(), QStringLiteral("/tmp/pictures does not exist in /tmp")); // kept
    }

    void theSecondMessageReplacesTheFirst()
    {
        TPrompt2Form form;
        QStringList seen;
        for (const QString &text : {QStringLiteral("first message"), QStringLiteral("second")}) {
            whenShown([&](TPrompt2Form *shown) {
                seen << shown->promptmessage()->shownText().lines.join(u'|');
                QTest::keyClick(shown, Qt::Key_Return); // Enter answers like OK
            });
            form.showMessage(text);
        }
        QCOMPARE(seen, QStringList({QStringLiteral("first message"), QStringLiteral("second")}));
    }

    void escapeCloses()
    {
        TPrompt2Form form;
        whenShown([](TPrompt2Form *shown) { QTest::keyClick(shown, Qt::Key_Escape); });
        form.showMessage(QStringLiteral("Escape"));
        QVERIFY(!form.isVisible());
    }

    void draggedByItsPicture()
    {
        TPrompt2Form form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QPoint start = form.pos();
        QTest::mousePress(&form, Qt::LeftButton, {}, QPoint(10, 10));
        QMouseEvent move(QEvent::MouseMove, QPointF(40, 30), form.mapToGlobal(QPointF(40, 30)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form, &move);
        QTest::mouseRelease(&form, Qt::LeftButton, {}, QPoint(40, 30));
        QCOMPARE(form.pos(), start + QPoint(30, 20));
        form.accept();
    }
};

QTEST_MAIN(TestPrompt2Form)
#include "tst_Prompt2Form.moc"
