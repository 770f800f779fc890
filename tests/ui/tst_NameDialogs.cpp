// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/PageOptions.h"
#include "core/SafeFile.h"
#include "ui/kit/HelpHints.h"
#include "ui/NameOverWrite.h"
#include "ui/NameOverWrite2.h"
#include "ui/NameWebPage.h"
#include "ui/kit/NumberField.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace
{

using Script = std::function<void(QDialog *)>;

// Runs the script on the modal dialog once it is up; a dialog the script leaves open is
// cancelled so a failing check cannot hang the test.
void whenShown(const Script &script)
{
    QTimer::singleShot(0, [script] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            QFAIL("no modal dialog is up");
            return;
        }
        QTimer::singleShot(0, dialog, [dialog, script] {
            const bool active = QTest::qWaitForWindowActive(dialog);
            if (active)
                script(dialog);
            if (dialog->isVisible())
                QTimer::singleShot(0, dialog,
                                   [dialog] { dialog->findChild<QPushButton *>("CancelButton")->click(); });
            QVERIFY2(active, "the dialog never became active");
        });
    });
}

template <typename T = QWidget> T *in(QDialog *dialog, const char *name)
{
    auto *found = dialog->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestNameDialogs : public QObject
{
    Q_OBJECT

    QStringList m_messages;

    void expectMessages(TNameitForm &form)
    {
        m_messages.clear();
        form.setMessageShower([this](const QString &text) { m_messages << text; });
    }

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init() { m_messages.clear(); }

    void looks()
    {
        TNameitForm name;
        TNameOver page;
        TNameOver2 list;
        QCOMPARE(name.windowTitle(), QStringLiteral("Name your file"));
        QCOMPARE(page.windowTitle(), QStringLiteral("Overwrite?"));
        QCOMPARE(list.windowTitle(), QStringLiteral("Overwrite?"));
        for (QDialog *d : std::initializer_list<QDialog *>{&name, &page, &list}) {
            QCOMPARE(d->size(), QSize(367, 233));
            QVERIFY(d->windowFlags() & Qt::FramelessWindowHint);
            QVERIFY(d->windowFlags() & Qt::WindowStaysOnTopHint);
            QVERIFY(!d->mask().contains(QPoint(0, 0)));
            for (QWidget *child : d->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
                QVERIFY2(d->mask().contains(child->geometry().center()), qPrintable(child->objectName()));
            QVERIFY(d->findChild<QPushButton *>("OKButton"));
            QVERIFY(d->findChild<QPushButton *>("CancelButton"));
        }
        QCOMPARE(name.findChild<QLineEdit *>("WebNameEdit")->text(), QString());
        QCOMPARE(name.findChild<QLineEdit *>("TitleEdit")->text(), QString());
        QCOMPARE(name.findChild<QLineEdit *>("NameIncrement")->text(), QStringLiteral("0"));
        QCOMPARE(name.findChild<QLabel *>("DeleteThumbnailLabel")->text(),
                 QStringLiteral("Delete any existing thumbnails"));
        QCOMPARE(name.findChild<QLabel *>("PreviewitLabel")->text(),
                 QStringLiteral("Preview after creating"));
        QCOMPARE(HelpHints::hintOf(name.findChild<QWidget *>("WebNameEdit")),
                 QStringLiteral("Enter the name of the file you want to save to your hard drive."));
        QVERIFY(
            HelpHints::hintOf(name.findChild<QWidget *>("TitleEdit")).endsWith("at the top of the screen."));
        QVERIFY(HelpHints::hintOf(name.findChild<QWidget *>("NameIncrement"))
                    .startsWith("This number is appended"));
        QVERIFY(HelpHints::hintOf(name.findChild<QWidget *>("OKButton")).isEmpty());
    }

    void fillsFromTheOptionsAndAnswers()
    {
        PageOptions options;
        options.setNameIncrement("007");
        TNameitForm form;
        expectMessages(form);
        whenShown([](QDialog *d) {
            QCOMPARE(in<QLineEdit>(d, "WebNameEdit")->text(), QStringLiteral("MediaPage.htm"));
            QCOMPARE(in<QLineEdit>(d, "TitleEdit")->text(), QStringLiteral("MediaPage"));
            QCOMPARE(in<QLineEdit>(d, "NameIncrement")->text(), QStringLiteral("007"));
            QVERIFY(in<QCheckBox>(d, "DeleteThumbnail")->isChecked());
            QVERIFY(in<QCheckBox>(d, "Previewit")->isChecked());
            QCOMPARE(QApplication::focusWidget(), in(d, "WebNameEdit"));
            QTest::keyClick(in(d, "WebNameEdit"), Qt::Key_End);
            QTest::keyClicks(in(d, "WebNameEdit"), "x");
            in<QLineEdit>(d, "TitleEdit")->setText("Trip");
            in<QPushButton>(d, "OKButton")->click();
        });
        const NameDialogAnswer answer = form.ask(options);
        QCOMPARE(m_messages, QStringList());
        QCOMPARE(answer.name, QStringLiteral("MediaPage.htmx"));
        QVERIFY(!answer.cancelled);
        QVERIFY(!form.NameCancelled());
        QCOMPARE(answer.name, QStringLiteral("MediaPage.htmx"));
        QCOMPARE(answer.title, QStringLiteral("Trip"));
        QCOMPARE(answer.counter, QStringLiteral("007")); // not copied by the dialog; the run takes it
        QCOMPARE(options.WebNameEdit(), QStringLiteral("MediaPage.htmx"));
        QCOMPARE(options.TitleEdit(), QStringLiteral("Trip"));
        QCOMPARE(options.NameIncrement(), QStringLiteral("007"));
    }

    // The counter the field shows grouped is answered as the plain digits a run can read.
    void groupedCounterAnswersPlainDigits()
    {
        PageOptions options;
        options.setNameIncrement("1234");
        TNameitForm form;
        whenShown([](QDialog *d) {
            in(d, "NameIncrement")->setFocus();
            QCOMPARE(in<QLineEdit>(d, "NameIncrement")->text(), QStringLiteral("1,234"));
            in(d, "WebNameEdit")->setFocus();
            in<QPushButton>(d, "OKButton")->click();
        });
        const NameDialogAnswer answer = form.ask(options);
        QCOMPARE(answer.counter, QStringLiteral("1234"));
        options.setNamingFromDialog(answer.counter, answer.name, answer.title);
        QCOMPARE(options.pageFileName("/pics"), QStringLiteral("/pics/MediaPage1234.htm"));
    }

    // A page named like one of its files (the counter counted) would replace it: the dialog says so and
    // stays open.
    void refusesTheNameOfAFileOfThePage()
    {
        PageOptions options;
        options.setNameIncrement("2");
        TNameitForm form;
        form.setFilesOfThePage({"a.jpg", "a2.jpg", "b.jpg"});
        expectMessages(form);
        bool openAfterRefusal = false;
        whenShown([&](QDialog *d) {
            in<QLineEdit>(d, "WebNameEdit")->setText("a.jpg");
            in<QPushButton>(d, "OKButton")->click();
            openAfterRefusal = d->isVisible();
            in<QLineEdit>(d, "WebNameEdit")->setText("b.htm");
            in<QPushButton>(d, "OKButton")->click();
        });
        const NameDialogAnswer answer = form.ask(options);
        QVERIFY(openAfterRefusal);
        QCOMPARE(m_messages, QStringList{"a2.jpg is a file of the page. Please give the page another name."});
        QVERIFY(!answer.cancelled);
        QCOMPARE(answer.name, QStringLiteral("b.htm"));
    }

    void keys_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("Enter in the name is OK") << "WebNameEdit" << int(Qt::Key_Return) << "ok";
        QTest::newRow("Enter in the title is OK") << "TitleEdit" << int(Qt::Key_Enter) << "ok";
        QTest::newRow("Escape in the name is Cancel") << "WebNameEdit" << int(Qt::Key_Escape) << "cancel";
        QTest::newRow("Escape in the title is Cancel") << "TitleEdit" << int(Qt::Key_Escape) << "cancel";
        QTest::newRow("Enter in the counter does nothing")
            << "NameIncrement" << int(Qt::Key_Return) << "open";
        QTest::newRow("Enter on a check box does nothing") << "Previewit" << int(Qt::Key_Return) << "open";
    }

    void keys()
    {
        QFETCH(QString, field);
        QFETCH(int, key);
        QFETCH(QString, outcome);
        PageOptions options;
        options.setWebNameEdit("index.old"); // a dot anywhere passes
        TNameitForm form;
        expectMessages(form);
        bool openAfterKey = false;
        whenShown([&](QDialog *d) {
            QWidget *target = in(d, qPrintable(field));
            target->setFocus();
            QTest::keyClick(target, Qt::Key(key));
            openAfterKey = d->isVisible();
        });
        const NameDialogAnswer answer = form.ask(options);
        QCOMPARE(openAfterKey, outcome == "open");
        QCOMPARE(answer.cancelled, outcome != "ok"); // a dialog left open is cancelled by the fixture
        QVERIFY(m_messages.isEmpty());
    }

    void focusOrder()
    {
        PageOptions options;
        TNameitForm form;
        QStringList visited;
        whenShown([&](QDialog *d) {
            in(d, "WebNameEdit")->setFocus();
            for (int i = 0; i < 7; ++i) {
                visited << QApplication::focusWidget()->objectName();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            visited << QApplication::focusWidget()->objectName();
        });
        form.ask(options);
        QCOMPARE(visited, (QStringList{"WebNameEdit", "TitleEdit", "DeleteThumbnail", "Previewit", "OKButton",
                                       "CancelButton", "NameIncrement", "WebNameEdit"}));
    }

    // A name without "." is refused with the message; it still reaches the options, and a
    // following Cancel leaves it there.
    void nameWithoutExtension()
    {
        PageOptions options;
        TNameitForm form;
        expectMessages(form);
        whenShown([this](QDialog *d) {
            in<QLineEdit>(d, "WebNameEdit")->setText("page");
            in<QLineEdit>(d, "TitleEdit")->setText("");
            in(d, "Previewit")->setFocus();
            in<QPushButton>(d, "OKButton")->click();
            QCOMPARE(m_messages, QStringList{"Please add file extension (.htm)"});
            QVERIFY(d->isVisible());
            QCOMPARE(QApplication::focusWidget(), in(d, "WebNameEdit"));
            QCOMPARE(in<QLineEdit>(d, "WebNameEdit")->text(), QStringLiteral("page"));
            in<QPushButton>(d, "CancelButton")->click();
        });
        const NameDialogAnswer answer = form.ask(options);
        QVERIFY(answer.cancelled);
        QCOMPARE(options.WebNameEdit(), QStringLiteral("page"));
        QCOMPARE(options.TitleEdit(), QString());
    }

    void cancelledStaysUntilTheNextOK()
    {
        PageOptions options;
        TNameitForm form;
        whenShown([](QDialog *d) {
            in<QLineEdit>(d, "TitleEdit")->setText("Changed");
            in<QPushButton>(d, "CancelButton")->click();
        });
        QVERIFY(form.ask(options).cancelled);
        QCOMPARE(options.TitleEdit(), QStringLiteral("MediaPage")); // nothing copied on Cancel
        QVERIFY(form.NameCancelled());
        QVERIFY(form.NameCancelled()); // reading does not clear it
        whenShown([](QDialog *d) { in<QPushButton>(d, "OKButton")->click(); });
        QVERIFY(!form.ask(options).cancelled);
        QVERIFY(!form.NameCancelled());
    }

    void flagsLiveInTheOptions()
    {
        PageOptions options;
        TNameitForm form;
        whenShown([](QDialog *d) {
            QTest::mouseClick(in(d, "DeleteThumbnail"), Qt::LeftButton);
            QTest::mouseClick(in(d, "PreviewitLabel"), Qt::LeftButton);
            QVERIFY(!in<QCheckBox>(d, "Previewit")->isChecked());
            QTest::mouseClick(in(d, "PreviewitLabel"), Qt::LeftButton);
            QVERIFY(in<QCheckBox>(d, "Previewit")->isChecked());
            QTest::mouseClick(in(d, "PreviewitLabel"), Qt::LeftButton);
            in<QPushButton>(d, "CancelButton")->click();
        });
        form.ask(options);
        QVERIFY(!options.DeleteThumbnail()); // in force also for runs without the dialog
        QVERIFY(!options.Previewit());
        whenShown([](QDialog *d) {
            QVERIFY(!in<QCheckBox>(d, "DeleteThumbnail")->isChecked());
            QVERIFY(!in<QCheckBox>(d, "Previewit")->isChecked());
            in<QPushButton>(d, "OKButton")->click();
        });
        form.ask(options);
        QVERIFY(!options.DeleteThumbnail());
    }

    // OK writes through the run's write; a failure keeps the dialog open showing it.
    void pageOverwriteWriteFails()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("MediaPage.htm");
        QVERIFY(SafeFile::writeAtomically(path, "old", SafeFile::Replace::RegularFileOnly).isEmpty());
        bool failing = true;
        int writes = 0;
        auto write = [&]() -> QString {
            ++writes;
            return failing ? QStringLiteral("disk full")
                           : SafeFile::writeAtomically(path, "new", SafeFile::Replace::RegularFileOnly);
        };
        TNameOver dialog;
        const QString text = path + " already exists... Overwrite?";
        whenShown([&](QDialog *d) {
            QCOMPARE(static_cast<TNameOver *>(d)->message(), text);
            QVERIFY(in<QLabel>(d, "OverLabel")->text().remove(QChar(0x200B)) == text);
            in<QPushButton>(d, "OKButton")->click();
            QVERIFY(d->isVisible());
            QVERIFY(static_cast<TNameOver *>(d)->errorText().contains("disk full"));
            QCOMPARE(contents(path), QByteArray("old"));
            failing = false;
            in<QPushButton>(d, "OKButton")->click(); // tried again, and it works
            QVERIFY(!d->isVisible());
        });
        QVERIFY(dialog.ask(text, write));
        QVERIFY(dialog.OverwriteConfirmed());
        QCOMPARE(writes, 2);
        QCOMPARE(contents(path), QByteArray("new"));
        dialog.clearOverwriteConfirmed();
        QVERIFY(!dialog.OverwriteConfirmed());
    }

    void pageOverwriteCancelled()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("MediaPage.htm");
        QVERIFY(SafeFile::writeAtomically(path, "old", SafeFile::Replace::RegularFileOnly).isEmpty());
        TNameOver dialog;
        bool wrote = false;
        // A failure shown before Cancel is gone at the next showing.
        whenShown([](QDialog *d) {
            in<QPushButton>(d, "OKButton")->click();
            QTest::keyClick(d, Qt::Key_Escape);
        });
        QVERIFY(!dialog.ask(path + " already exists... Overwrite?", [] { return QStringLiteral("locked"); }));
        whenShown([](QDialog *d) {
            QVERIFY(static_cast<TNameOver *>(d)->errorText().isEmpty());
            in<QPushButton>(d, "CancelButton")->click();
        });
        QVERIFY(!dialog.ask(path + " already exists... Overwrite?", [&] {
            wrote = true;
            return QString();
        }));
        QVERIFY(!dialog.OverwriteConfirmed());
        QVERIFY(!wrote);
        QCOMPARE(contents(path), QByteArray("old"));
    }

    void listOverwrite()
    {
        TNameOver2 dialog;
        whenShown([](QDialog *d) { in<QPushButton>(d, "OKButton")->click(); });
        QVERIFY(dialog.ask("/home/u/list.txt already exists... Overwrite?"));
        whenShown([](QDialog *d) { in<QPushButton>(d, "CancelButton")->click(); });
        QVERIFY(!dialog.ask("/home/u/list.txt already exists... Overwrite?"));
        QString written;
        whenShown([](QDialog *d) { in<QPushButton>(d, "OKButton")->click(); });
        QVERIFY(dialog.ask("x already exists... Overwrite?", [&] {
            written = "list";
            return QString();
        }));
        QCOMPARE(written, QStringLiteral("list"));
    }
};

QTEST_MAIN(TestNameDialogs)
#include "tst_NameDialogs.moc"
