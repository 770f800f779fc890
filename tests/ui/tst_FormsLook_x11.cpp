// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/PageOptions.h"
#include "ui/kit/HelpHints.h"
#include "ui/NameOverWrite.h"
#include "ui/NameOverWrite2.h"
#include "ui/NameWebPage.h"
#include "ui/Settings.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

// The forms on a real X server: the skins' outlines are cut out, and each form is saved as a
// screenshot (into TESSALOOM_SHOT_DIR when set) for a person to look at.
class TestFormsLook : public QObject
{
    Q_OBJECT

    static QString shotPath(const QString &name)
    {
        const QString dir = qEnvironmentVariable("TESSALOOM_SHOT_DIR", QDir::tempPath());
        QDir().mkpath(dir);
        return QDir(dir).filePath(name + QStringLiteral(".png"));
    }

    // The screen as the user sees it, shaped windows and all.
    static QImage screenShot(const QString &name)
    {
        QCursor::setPos(QPoint(4, 4)); // no hint over the form
        HelpHints::instance().hideHint();
        QTest::qWait(200);
        const QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        shot.save(shotPath(name));
        return shot;
    }

    static void verifyOutlineCut(const QImage &shot, const QWidget *window)
    {
        const QPoint corner = window->geometry().topLeft();
        const QPoint inside = window->geometry().center();
        // The key colour is cut out: the corner shows the screen behind, never the skin's black.
        QVERIFY(window->mask().contains(window->mapFromGlobal(inside)));
        QVERIFY(!window->mask().contains(QPoint(0, 0)));
        QVERIFY(shot.pixelColor(corner) != shot.pixelColor(inside));
    }

private Q_SLOTS:
    void optionsWindow()
    {
        PageOptions options;
        HelpHints::instance().setOptions(&options);
        options.mediaKindChanged(mkWav); // greyed size editors
        options.choosePercent(2);
        options.setSoundPick(QStringLiteral("/home/user/pictures/speaker.gif"));
        TSettingsForm form(options);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(!form.findChild<QSpinBox *>("HeightEdit")->isEnabled());
        const QImage shot = screenShot(QStringLiteral("options"));
        verifyOutlineCut(shot, &form);
        HelpHints::instance().setOptions(nullptr);
    }

    void nameDialog()
    {
        PageOptions options;
        TNameitForm form;
        QImage shot;
        QTimer::singleShot(300, [&] {
            shot = screenShot(QStringLiteral("name-dialog"));
            form.findChild<QPushButton *>("CancelButton")->click();
        });
        form.ask(options);
        QVERIFY(!shot.isNull());
        verifyOutlineCut(shot, &form);
    }

    void overwriteDialogWithFailure()
    {
        TNameOver dialog;
        QImage shot;
        QTimer::singleShot(300, [&] {
            dialog.findChild<QPushButton *>("OKButton")->click();
            shot = screenShot(QStringLiteral("overwrite-dialog"));
            dialog.findChild<QPushButton *>("CancelButton")->click();
        });
        dialog.ask(
            QStringLiteral("/home/user/pictures/holiday 2001/MediaPage007.htm already exists... Overwrite?"),
            [] { return QStringLiteral("Permission denied"); });
        QVERIFY(!shot.isNull());
        verifyOutlineCut(shot, &dialog);
    }

    void listOverwriteDialog()
    {
        TNameOver2 dialog;
        QImage shot;
        QTimer::singleShot(300, [&] {
            shot = screenShot(QStringLiteral("list-overwrite-dialog"));
            dialog.findChild<QPushButton *>("OKButton")->click();
        });
        QVERIFY(dialog.ask(QStringLiteral("/home/user/lists/best.lst already exists... Overwrite?")));
        verifyOutlineCut(shot, &dialog);
    }
};

QTEST_MAIN(TestFormsLook)
#include "tst_FormsLook_x11.moc"
