// Tessaloom: start-up. The windows that live for the whole run are made once, hidden, in a fixed
// order; the main window shows when the event loop starts, and the program ends with that loop.
#include "core/PageOptions.h"
#include "platform/SingleInstance.h"
#include "ui/Scanner.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

namespace
{

// Test hooks: TESSALOOM_EXIT_AFTER_MS ends the event loop after that many milliseconds;
// TESSALOOM_REPORT_ACTIVATION=1 prints "ready" once this copy holds the single-instance socket and
// "activated" each time a second start brings it to the front.
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

void armExitHook(QApplication &app)
{
    bool ok = false;
    const int exitAfterMs = qEnvironmentVariableIntValue("TESSALOOM_EXIT_AFTER_MS", &ok);
    if (ok && exitAfterMs >= 0)
        QTimer::singleShot(exitAfterMs, &app, &QApplication::quit);
}

} // namespace

int main(int argc, char *argv[])
{
    // Playback goes through GStreamer: Qt 6.4's FFmpeg backend cannot play MIDI and crashes
    // without a sound device.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "gstreamer");

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

    TMainForm mainForm(options); // reads the stored help setting
    QObject::connect(&guard, &SingleInstance::activationRequested, &mainForm, [&mainForm] {
        mainForm.bringToFront();
        report("activated");
    });
    // The program's first argument is only the working folder of the previewing browser.
    if (argc > 1)
        mainForm.setPreviewWorkingFolder(QString::fromLocal8Bit(argv[1]));

    // The other long-lived windows, created hidden in this order and handed to the main window:
    //   TSettingsForm   -> mainForm.setOptionsWindow(&settingsForm)
    //   TNameitForm     (asked by the generation run)
    //   TSplashForm     (About)
    //   TAVIForm        -> mainForm.setGrabberWindow(&aviForm) (plays its start movie unseen)
    //   TPrompt2Form    -> mainForm.setMessagePort(&prompt2Form)
    //   TNameOver, TNameOver2 (asked by the generation run)
    //   TPickListForm   -> mainForm.setPickListWindow(&pickListForm), setPickListPort(&pickListForm)
    // and the per-use ones: the viewer -> mainForm.setViewerFactory(...), the thumbnail clean-up ->
    // mainForm.setThumbnailCleaner(&CleanUpThumbnails), Create -> TMainForm::createRequested.

    mainForm.state().Quitting = false;

    // The start-up splash (TOndrelSplashForm) is shown modally here, before the main window.

    mainForm.show();
    armExitHook(app);
    return app.exec();
}
