// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/ListingPorts.h"
#include "platform/SoundPlayer.h"
#include "ui/WindowFeedback.h"
#include "ui/guager.h"
#include "ui/kit/PictureButton.h"
#include "ui/kit/ShadowText.h"
#include "ui/prompt2.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

// What the main window and the generation run see of messages, progress and sounds.
class TestWindowFeedback : public QObject
{
    Q_OBJECT

private:
    // Answers every showing of the message window: records its text, runs `during` on the first
    // poll that sees it up, and presses OK on the next.
    class Answerer
    {
    public:
        QStringList texts;
        std::function<void(int showing)> during;

        explicit Answerer(TPrompt2Form *form) : m_form(form)
        {
            m_poll.setInterval(20);
            QObject::connect(&m_poll, &QTimer::timeout, [this] { poll(); });
            m_poll.start();
        }

    private:
        void poll()
        {
            if (QApplication::activeModalWidget() != m_form || !m_form->isVisible()) {
                m_seen = false;
                return;
            }
            if (!m_seen) {
                m_seen = true;
                if (during)
                    during(int(texts.size()));
                return;
            }
            texts << m_form->text();
            m_seen = false;
            QTest::mouseClick(m_form->OKButton(), Qt::LeftButton);
        }

        TPrompt2Form *m_form;
        QTimer m_poll;
        bool m_seen = false;
    };

private Q_SLOTS:
    void messagesGoToTheMessageWindow()
    {
        TPrompt2Form prompt;
        WindowFeedback feedback(nullptr, &prompt, nullptr);
        Answerer answerer(&prompt);
        MessagePort &port = feedback;
        port.showMessage(QStringLiteral("/tmp/a does not exist in /tmp"));
        RunFeedback &run = feedback;
        run.showMessage(QStringLiteral("/tmp/MediaPage.htm was created."));
        QCOMPARE(answerer.texts, QStringList({QStringLiteral("/tmp/a does not exist in /tmp"),
                                              QStringLiteral("/tmp/MediaPage.htm was created.")}));
        QVERIFY(!prompt.isVisible());
    }

    // A file name cannot start a second, false message or carry an escape sequence into the window.
    void controlCharactersAreShownEscaped()
    {
        TPrompt2Form prompt;
        WindowFeedback feedback(nullptr, &prompt, nullptr);
        Answerer answerer(&prompt);
        RunFeedback &run = feedback;
        run.reportProblem(
            QStringLiteral("Error Creating Thumbnail from a\nb.jpg created.\x1b[2J\t.jpg: damaged"));
        QCOMPARE(answerer.texts,
                 QStringList{QStringLiteral(
                     "Error Creating Thumbnail from a\\nb.jpg created.\\x1B[2J\\t.jpg: damaged")});
    }

    // A message of several lines shows its own line breaks as breaks; a name's break stays escaped.
    void messageLinesBreakWhereTheMessageDoes()
    {
        TPrompt2Form prompt;
        WindowFeedback feedback(nullptr, &prompt, nullptr);
        Answerer answerer(&prompt);
        MessagePort &port = feedback;
        port.showMessageLines(
            {QStringLiteral("These files in the \"/p\" directory keep their spaces:"),
             QStringLiteral("\"a\nb c.jpg\" -> \"a\nbc.jpg\": a file of that name exists already")});
        QCOMPARE(answerer.texts,
                 QStringList{QStringLiteral(
                     "These files in the \"/p\" directory keep their spaces:\n"
                     "\"a\\nb c.jpg\" -> \"a\\nbc.jpg\": a file of that name exists already")});
        const WrappedText::Fit shown = prompt.promptmessage()->shownText();
        QVERIFY2(shown.lines.size() >= 2 && shown.lines[0].endsWith("spaces:"),
                 qPrintable(shown.lines.join('|')));
    }

    void aMessageAskedWhileOneIsUpTakesItsPlace()
    {
        TPrompt2Form prompt;
        WindowFeedback feedback(nullptr, &prompt, nullptr);
        Answerer answerer(&prompt);
        bool nestedReturned = false;
        answerer.during = [&](int showing) {
            if (showing == 0) { // from another timer while the first message is up
                QTimer::singleShot(0, [&] {
                    feedback.showMessage(QStringLiteral("second"));
                    nestedReturned = true;
                });
            }
        };
        feedback.showMessage(QStringLiteral("first"));
        QVERIFY(nestedReturned);
        QCOMPARE(answerer.texts, QStringList{QStringLiteral("second")});
    }

    void errorBoxIsAPlainMessageBox()
    {
        QApplication::setApplicationDisplayName(QStringLiteral("Tessaloom 2001"));
        TPrompt2Form prompt;
        WindowFeedback feedback(nullptr, &prompt, nullptr);
        QString title, text;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            title = box->windowTitle();
            text = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        feedback.showErrorBox(QStringLiteral("Error loading file (broken.jpg)"));
        QCOMPARE(title, QStringLiteral("Tessaloom 2001"));
        QCOMPARE(text, QStringLiteral("Error loading file (broken.jpg)"));
        QVERIFY(!prompt.isVisible()); // not the message window
    }

    void progressOfARun()
    {
        QWidget main(nullptr, Qt::FramelessWindowHint);
        main.resize(649, 450);
        main.move(120, 90);
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        TPrompt2Form prompt;
        WindowFeedback feedback(&main, &prompt, nullptr);
        feedback.progressCreate();
        QPointer<TGuageForm> window = feedback.progressWindow();
        QVERIFY(window);
        QVERIFY(!feedback.progressIsShown());
        feedback.progressSetMaximum(7);
        feedback.progressShow();
        QVERIFY(feedback.progressIsShown());
        QCOMPARE(window->pos(), QPoint(200, 120));
        for (int file = 0; file < 3; ++file) {
            feedback.progressStep();
            feedback.letEventsRun();
        }
        QCOMPARE(window->percentText(), QStringLiteral("42%"));
        feedback.progressClose();
        QVERIFY(!feedback.progressIsShown());
        QTRY_VERIFY(window.isNull()); // released

        feedback.progressStep(); // a step with no window makes a fresh one
        QVERIFY(feedback.progressWindow());
        QVERIFY(feedback.progressWindow() != window);
        QCOMPARE(feedback.progressWindow()->progress(), 1);
        feedback.progressClose();
    }

    void soundsPlayThroughThePlayer()
    {
        TPrompt2Form prompt;
        SoundPlayer sounds;
        WindowFeedback feedback(nullptr, &prompt, &sounds);
        QSignalSpy requested(&sounds, &SoundPlayer::playRequested);
        QSignalSpy finished(&sounds, &SoundPlayer::finished);
        feedback.playSound(QStringLiteral("SaveAVI.wav"));
        QCOMPARE(requested.count(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    }

    void aSoundThatFailsIsShownOnce()
    {
        QTemporaryDir empty;
        TPrompt2Form prompt;
        SoundPlayer sounds;
        WindowFeedback feedback(nullptr, &prompt, &sounds);
        Answerer answerer(&prompt);
        const QByteArray dataDir = qgetenv("TESSALOOM_DATA_DIR");
        qputenv("TESSALOOM_DATA_DIR", empty.path().toLocal8Bit());
        feedback.playSound(QStringLiteral("error.wav"));
        QTRY_COMPARE(answerer.texts.size(), 1);
        QVERIFY2(answerer.texts.at(0).contains(QStringLiteral("error.wav")),
                 qPrintable(answerer.texts.at(0)));
        feedback.playSound(QStringLiteral("error.wav")); // every failure of a run would play it
        QTest::qWait(300);
        qputenv("TESSALOOM_DATA_DIR", dataDir);
        QCOMPARE(answerer.texts.size(), 1);
    }

    void aSoundFailureWaitsForTheMessageOnScreen()
    {
        QTemporaryDir empty;
        TPrompt2Form prompt;
        SoundPlayer sounds;
        WindowFeedback feedback(nullptr, &prompt, &sounds);
        Answerer answerer(&prompt);
        const QByteArray dataDir = qgetenv("TESSALOOM_DATA_DIR");
        answerer.during = [&](int showing) {
            if (showing == 0) {
                qputenv("TESSALOOM_DATA_DIR", empty.path().toLocal8Bit());
                feedback.playSound(QStringLiteral("logo.wav"));
                qputenv("TESSALOOM_DATA_DIR", dataDir);
                QTest::qWait(100); // the failure arrives while the first message is up
            }
        };
        feedback.showMessage(QStringLiteral("Error loading file (a.jpg)"));
        QTRY_COMPARE(answerer.texts.size(), 2);
        QCOMPARE(answerer.texts.at(0), QStringLiteral("Error loading file (a.jpg)")); // not replaced
        QVERIFY(answerer.texts.at(1).contains(QStringLiteral("logo.wav")));
    }
};

QTEST_MAIN(TestWindowFeedback)
#include "tst_WindowFeedback.moc"
