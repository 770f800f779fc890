// SPDX-License-Identifier: GPL-2.0-or-later
// Makes the README's screenshots: every window the program has, shown as a person meets it over a
// small folder of pictures this tool draws itself, each saved as a PNG with its outline cut out.
// Usage (on a real X server, as the windows are shaped): shoot_windows OUTPUT_FOLDER
// A new window is one more line in shots() below.
#include "core/ListingPorts.h"
#include "core/PageOptions.h"
#include "platform/DataFiles.h"
#include "platform/MoviePlayback.h"
#include "ui/AVIGrabber.h"
#include "ui/FileListView.h"
#include "ui/kit/HelpHints.h"
#include "ui/MovieChooser.h"
#include "ui/NameOverWrite.h"
#include "ui/NameOverWrite2.h"
#include "ui/NameWebPage.h"
#include "ui/OndrelSplash.h"
#include "ui/ProgramWindows.h"
#include "ui/ScannerControls.h"
#include "ui/guager.h"
#include "ui/main.h"
#include "ui/splash.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QScopeGuard>
#include <QScreen>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <memory>

namespace
{

// The grabber's Open AVI button answered with one movie, as a person would pick it.
class ChosenMovie final : public MovieChooser
{
public:
    explicit ChosenMovie(QString path) : m_path(std::move(path)) {}
    QString askMovie(QWidget *, const QString &, const QString &) override { return m_path; }

private:
    QString m_path;
};

// The grabber's messages kept instead of shown: one that came up would wait for a person forever.
class HeldMessages final : public MessagePort
{
public:
    void showMessage(const QString &text) override { texts << text; }
    QStringList texts;
};

// Clicks the file of that name in the main window's file list, as a person picks it to view.
bool clickFile(TMainForm &main, const QString &fileName)
{
    FileListView *list = main.controls().FileListBoxSH;
    if (!QTest::qWaitFor([list] { return list->rowCount() > 0; }))
        return false;
    for (int row = 0; row < list->rowCount(); ++row) {
        if (QFileInfo(list->rowPath(row)).fileName() != fileName)
            continue;
        const QModelIndex index = list->model()->index(row, 0, list->rootIndex());
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
        return true;
    }
    return false;
}

class Shooter
{
public:
    // The folder is held absolute: the main window moves the working folder as it browses.
    explicit Shooter(const QString &outputFolder)
        : m_out(QFileInfo(outputFolder).absoluteFilePath()), m_windows(m_options)
    {
        QDir().mkpath(m_out.path());
        makeDemoFolder();
        HelpHints::instance().setOptions(&m_options);
    }
    ~Shooter() { HelpHints::instance().setOptions(nullptr); }

    ProgramWindows &windows() { return m_windows; }
    PageOptions &options() { return m_options; }
    QString demoFolder() const { return m_demo.filePath(QStringLiteral("Pictures/Holiday 2001")); }
    // How the dialogs name a file of that folder: as it would be in a person's home.
    static QString shownPath(const char *fileName)
    {
        return QStringLiteral("/home/ann/Pictures/Holiday 2001/") + QLatin1String(fileName);
    }
    bool allSaved() const { return m_allSaved; }

    void failed(const QString &name, const char *why)
    {
        std::fprintf(stderr, "shoot_windows: %s: %s\n", qPrintable(name), why);
        m_allSaved = false;
    }

    // The window as it stands on the screen, with everything outside its outline transparent.
    void save(const QString &name, QWidget *window)
    {
        QCursor::setPos(QPoint(2, 2)); // no balloon hint over the window
        HelpHints::instance().hideHint();
        if (!QTest::qWaitForWindowExposed(window))
            return failed(name, "the window never showed");
        QTest::qWait(600);
        const QRect frame = window->geometry();
        QImage shot = window->screen()
                          ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                          .toImage()
                          .convertToFormat(QImage::Format_ARGB32);
        if (!window->mask().isEmpty()) {
            QImage cut(shot.size(), QImage::Format_ARGB32);
            cut.setDevicePixelRatio(shot.devicePixelRatio()); // the mask is in the window's own pixels
            cut.fill(Qt::transparent);
            QPainter painter(&cut);
            painter.setClipRegion(window->mask());
            painter.drawImage(0, 0, shot);
            painter.end();
            shot = cut;
        }
        const QString path = m_out.filePath(name + QStringLiteral(".png"));
        if (!shot.save(path))
            return failed(name, "cannot write the picture");
        std::printf("%s\n", qPrintable(path));
    }

    // For a window that asks modally: shoots it once it shows, then presses its button to go on.
    void saveAsked(const QString &name, QWidget *window, const char *buttonName)
    {
        QTimer::singleShot(300, window, [this, name, window, buttonName] {
            save(name, window);
            if (auto *button = window->findChild<QAbstractButton *>(QLatin1String(buttonName)))
                button->click();
            else
                window->close();
        });
    }

private:
    void makeDemoFolder()
    {
        const QDir folder(demoFolder());
        QDir().mkpath(folder.path());
        const struct {
            const char *name;
            QSize size;
            QColor from, to;
        } pictures[] = {{"beach.jpg", {320, 200}, QColor(20, 40, 120), QColor(240, 200, 80)},
                        {"dunes.jpg", {200, 300}, QColor(200, 120, 40), QColor(250, 230, 180)},
                        {"harbour.jpg", {300, 220}, QColor(10, 80, 90), QColor(200, 230, 240)},
                        {"sunset.jpg", {160, 120}, QColor(120, 20, 60), QColor(250, 160, 40)}};
        for (const auto &p : pictures) {
            QImage image(p.size, QImage::Format_RGB32);
            QPainter painter(&image);
            QLinearGradient fill(0, 0, p.size.width(), p.size.height());
            fill.setColorAt(0, p.from);
            fill.setColorAt(1, p.to);
            painter.fillRect(image.rect(), fill);
            painter.end();
            image.save(folder.filePath(QLatin1String(p.name)));
        }
        // Neighbours, so the folder tree shows a person's picture folders around it.
        for (const char *neighbour : {"Birthday", "Family", "Garden", "Mountains", "Sea", "Snow", "Zoo"})
            QDir().mkpath(m_demo.filePath(QStringLiteral("Pictures/") + QLatin1String(neighbour)));
    }

    QDir m_out;
    QTemporaryDir m_demo;
    PageOptions m_options;
    ProgramWindows m_windows;
    bool m_allSaved = true;
};

struct Shot {
    const char *name;
    std::function<void(Shooter &, const QString &name)> take;
};

// Every window, in the order a person meets them.
const QList<Shot> &shots()
{
    static const QList<Shot> list{
        {"start-splash",
         [](Shooter &s, const QString &name) {
             auto *splash = new TOndrelSplashForm(nullptr); // releases itself when it closes
             splash->Timer1()->stop();
             s.saveAsked(name, splash, "");
             splash->exec();
         }},
        {"main-window",
         [](Shooter &s, const QString &name) {
             TMainForm &main = s.windows().mainForm();
             main.selectFolder(s.demoFolder());
             main.show();
             QTest::qWait(1500); // the first kind is chosen a moment after showing
             s.save(name, &main);
         }},
        {"viewer",
         [](Shooter &s, const QString &name) {
             TMainForm &main = s.windows().mainForm(); // still showing the demo folder's pictures
             if (!clickFile(main, QStringLiteral("harbour.jpg")))
                 return s.failed(name, "the picture is not in the file list");
             main.ViewButton2Click();
             auto *viewer = qobject_cast<TMainForm2 *>(main.viewerWindow());
             if (!viewer)
                 return s.failed(name, "no viewer opened");
             viewer->raise();
             viewer->activateWindow();
             if (!QTest::qWaitFor([viewer] { return !viewer->isLoading(); }))
                 return s.failed(name, "the picture never loaded");
             s.save(name, viewer);
             main.ViewButton2Click(); // closes it again
         }},
        {"options",
         [](Shooter &s, const QString &name) {
             s.options().choosePercent(2);
             s.options().setColumnEdit(3);
             TSettingsForm &form = s.windows().settingsForm();
             form.show();
             s.save(name, &form);
             form.hide();
         }},
        {"pick-list",
         [](Shooter &s, const QString &name) {
             TPickListForm &form = s.windows().pickListForm();
             form.show(); // a list from another folder is dropped as it shows
             for (const char *file : {"beach.jpg", "harbour.jpg", "sunset.jpg"})
                 form.appendFile(QLatin1String(file));
             s.save(name, &form);
             form.hide();
         }},
        {"grabber",
         [](Shooter &s, const QString &name) {
             // The program's own start movie, as if it were one of the folder's movies.
             const QString movie = s.demoFolder() + QStringLiteral("/harbour.avi");
             if (!QFile::copy(DataFiles::path(QStringLiteral("start.avi")), movie))
                 return s.failed(name, "cannot copy the start movie");
             TAVIForm &grabber = s.windows().grabberForm();
             grabber.setChooser(std::make_unique<ChosenMovie>(movie));
             HeldMessages messages;
             grabber.setMessages(&messages);
             const auto putBack = qScopeGuard([&grabber] { grabber.setMessages(nullptr); });
             TMainForm &main = s.windows().mainForm();
             main.GrabberButtonClick();
             if (!QTest::qWaitForWindowExposed(&grabber))
                 return s.failed(name, "the window never showed");
             grabber.ChooseAVIButtonClick();
             if (!grabber.chosenMovie()) {
                 const QByteArray why = messages.texts.join(QLatin1Char(' ')).toLocal8Bit();
                 return s.failed(name, why.isEmpty() ? "the movie did not open" : why.constData());
             }
             grabber.PauseLabelClick();
             grabber.TrackBar()->setValue(20); // the emblem turned a little, as a person stops it
             if (!QTest::qWaitFor([&grabber] { return grabber.playback().position() == 20; }))
                 return s.failed(name, "the movie never reached its frame");
             s.save(name, &grabber);
             main.GrabberButtonClick(); // hides it again
         }},
        {"name-dialog",
         [](Shooter &s, const QString &name) {
             TNameitForm form;
             s.saveAsked(name, &form, "CancelButton");
             form.ask(s.options());
         }},
        {"overwrite-dialog",
         [](Shooter &s, const QString &name) {
             TNameOver dialog;
             s.saveAsked(name, &dialog, "CancelButton");
             dialog.ask(Shooter::shownPath("MediaPage.htm already exists... Overwrite?"),
                        [] { return QString(); });
         }},
        {"list-overwrite-dialog",
         [](Shooter &s, const QString &name) {
             TNameOver2 dialog;
             s.saveAsked(name, &dialog, "CancelButton");
             dialog.ask(Shooter::shownPath("best.lst already exists... Overwrite?"));
         }},
        {"progress",
         [](Shooter &s, const QString &name) {
             auto *gauge = new TGuageForm(&s.windows().mainForm()); // releases itself when it closes
             gauge->setMaximum(12);
             gauge->setProgress(5);
             gauge->show();
             s.save(name, gauge);
             gauge->close();
         }},
        {"message",
         [](Shooter &s, const QString &name) {
             TPrompt2Form &prompt = s.windows().messageWindow();
             s.saveAsked(name, &prompt, "OKButton");
             prompt.showMessage(QStringLiteral("There are no files of this kind in the folder."));
         }},
        {"about",
         [](Shooter &s, const QString &name) {
             TSplashForm about(nullptr);
             about.Timer1()->stop();
             about.show();
             s.save(name, &about);
             about.hide();
         }},
    };
    return list;
}

} // namespace

int main(int argc, char *argv[])
{
    SoundPlayer::pinMediaBackend();
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: shoot_windows OUTPUT_FOLDER\n");
        return 2;
    }
    Shooter shooter(QString::fromLocal8Bit(argv[1]));
    for (const Shot &shot : shots())
        shot.take(shooter, QLatin1String(shot.name));
    return shooter.allSaved() ? 0 : 1;
}
