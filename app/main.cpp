// SPDX-License-Identifier: GPL-2.0-or-later
// Tessaloom: start-up. The windows that live for the whole run are made once, hidden, in a fixed
// order; the main window shows when the event loop starts, and the program ends with that loop.
#include "app/ProgramArgs.h"
#include "core/PageOptions.h"
#include "platform/SingleInstance.h"
#include "ui/ProgramWindows.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

namespace
{

// Test hooks: TESSALOOM_EXIT_AFTER_MS ends the event loop after that many milliseconds;
// TESSALOOM_REPORT_ACTIVATION=1 prints "ready" once this copy holds the single-instance socket,
// "activated" each time a second start brings it to the front and "folder PATH" once shown;
// TESSALOOM_QUIT_AFTER_START=1 prints "main window shown in PATH" once the main window has shown and
// finished its first-run set-up, then closes it as a person would (the test command's smoke start).
bool reportActivation()
{
    return qEnvironmentVariableIntValue("TESSALOOM_REPORT_ACTIVATION") == 1;
}

void report(const char *line)
{
    if (!reportActivation())
        return;
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

bool exitRequested = false;

// Ends whichever event loop runs then: the start-up splash's or the main one.
void armExitHook(QApplication &app)
{
    bool ok = false;
    const int exitAfterMs = qEnvironmentVariableIntValue("TESSALOOM_EXIT_AFTER_MS", &ok);
    if (ok && exitAfterMs >= 0)
        QTimer::singleShot(exitAfterMs, &app, [] {
            exitRequested = true;
            QApplication::closeAllWindows();
            QApplication::exit(0);
        });
}

// The first-run timer fires half a second after the first showing; a second later the window is
// settled, or the start failed.
void armQuitAfterStart(TMainForm &mainForm)
{
    if (qEnvironmentVariableIntValue("TESSALOOM_QUIT_AFTER_START") != 1)
        return;
    QTimer::singleShot(1500, &mainForm, [&mainForm] {
        if (!mainForm.isVisible()) {
            std::fputs("main window not shown\n", stderr);
            QApplication::exit(1);
            return;
        }
        report(("folder " + QDir::toNativeSeparators(mainForm.CurrentFolder())).toLocal8Bit().constData());
        std::printf("main window shown in %s\n", qPrintable(mainForm.CurrentFolder()));
        std::fflush(stdout);
        mainForm.close();
    });
}

// --help and --version are answered before anything needs a display.
bool answeredWithoutWindows(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const ProgramArgs args = parseProgramArgs(arguments);
    if (args.help || args.version) {
        std::fputs(args.help ? qPrintable(programHelp()) : qPrintable(programVersion("tessaloom")), stdout);
        return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    // Playback goes through GStreamer: Qt 6.4's FFmpeg backend cannot play MIDI and crashes
    // without a sound device.
    SoundPlayer::pinMediaBackend();
    if (answeredWithoutWindows(argc, argv))
        return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tessaloom"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tessaloom 2001"));
    QApplication::setApplicationVersion(QStringLiteral(TESSALOOM_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(TESSALOOM_APP_ID)); // the menu entry's icon
    // Qt's own options are gone from arguments() now: whatever is left is ours.
    const ProgramArgs args = parseProgramArgs(QApplication::arguments().mid(1));
    if (!args.error.isEmpty()) {
        std::fprintf(stderr, "tessaloom: %s\nTry tessaloom --help.\n", qPrintable(args.error));
        return 2;
    }

    // A second start hands over to the running copy before it shows anything or reads a setting.
    SingleInstance guard;
    if (guard.claim() == SingleInstance::AnotherRunning)
        return 0;
    report("ready");

    // The one set of page options of the run; it starts with the start defaults (page
    // "MediaPage.htm", title "MediaPage", colours 000000, FFFFFF, FF0000, 0000FF).
    PageOptions options;

    // Every long-lived window, created once and hidden in its order; the main window reads the
    // stored help setting as it is built.
    ProgramWindows windows(options);
    TMainForm &mainForm = windows.mainForm();
    const auto bringToFront = [&mainForm](const QString &activationToken) {
        if (!activationToken.isEmpty())
            report(("activation token " + activationToken).toLatin1().constData());
        mainForm.bringToFront(activationToken);
        report("activated");
    };
    QObject::connect(&guard, &SingleInstance::activationRequested, &mainForm, bringToFront);
    // The folder given starts the folder tree there, and is the previewing browser's working folder.
    if (!args.folder.isEmpty()) {
        mainForm.setPreviewWorkingFolder(args.folder);
        if (!mainForm.selectFolder(QFileInfo(args.folder).absoluteFilePath()))
            std::fprintf(stderr, "tessaloom: %s is not a folder; starting in the home folder\n",
                         qPrintable(args.folder));
    }
    mainForm.state().Quitting = false;

    armExitHook(app);
    windows.showStartSplash();
    if (exitRequested)
        return 0;
    mainForm.show();
    armQuitAfterStart(mainForm);
    return app.exec();
}
