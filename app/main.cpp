// Tessaloom: start-up. The windows that live for the whole run are made once, hidden, in a fixed
// order; the main window shows when the event loop starts, and the program ends with that loop.
#include "core/PageOptions.h"
#include "platform/SingleInstance.h"
#include "ui/ProgramWindows.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

namespace
{

// Test hooks: TESSALOOM_EXIT_AFTER_MS ends the event loop after that many milliseconds;
// TESSALOOM_REPORT_ACTIVATION=1 prints "ready" once this copy holds the single-instance socket and
// "activated" each time a second start brings it to the front; TESSALOOM_QUIT_AFTER_START=1 prints
// "main window shown" once the main window has shown and finished its first-run set-up, then closes
// it as a person would (the smoke start of the test command).
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
        std::printf("main window shown in %s\n", qPrintable(mainForm.CurrentFolder()));
        std::fflush(stdout);
        mainForm.close();
    });
}

} // namespace

int main(int argc, char *argv[])
{
    // Playback goes through GStreamer: Qt 6.4's FFmpeg backend cannot play MIDI and crashes
    // without a sound device.
    SoundPlayer::pinMediaBackend();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tessaloom"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tessaloom 2001"));

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
    QObject::connect(&guard, &SingleInstance::activationRequested, &mainForm, [&mainForm] {
        mainForm.bringToFront();
        report("activated");
    });
    // The program's first argument is only the working folder of the previewing browser.
    if (argc > 1)
        mainForm.setPreviewWorkingFolder(QString::fromLocal8Bit(argv[1]));
    mainForm.state().Quitting = false;

    armExitHook(app);
    windows.showStartSplash();
    if (exitRequested)
        return 0;
    mainForm.show();
    armQuitAfterStart(mainForm);
    return app.exec();
}
