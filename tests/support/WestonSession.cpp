// SPDX-License-Identifier: GPL-2.0-or-later
#include "WestonSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <csignal>
#include <sys/types.h>

namespace
{

const char *const kSocket = "wayland-tessaloom-test";

// No panel, no lock screen, no animations: the output shows the desktop colour and our windows.
const char *const kConfig = "[core]\nidle-time=0\n"
                            "[shell]\nbackground-color=0xff40a040\npanel-position=none\nlocking=false\n"
                            "animation=none\nstartup-animation=none\nclose-animation=none\n"
                            "focus-animation=none\n";

// Starts weston with the arguments after the test's process id, and ends it when told to or when
// that process is gone.
const char *const kKeeper = "test=$1; shift; weston \"$@\" & w=$!; trap 'kill $w; wait $w; exit 0' TERM; "
                            "while kill -0 $test 2>/dev/null && kill -0 $w 2>/dev/null; do sleep 1; done; "
                            "kill $w 2>/dev/null";

} // namespace

QSize WestonSession::outputSize(Backend backend)
{
    // Nested, the output leaves a strip of the X screen (1280x1024) free, where the pointer can
    // rest outside it: weston then draws no cursor in its shots.
    return backend == Backend::NestedInX ? QSize(1200, 960) : QSize(1280, 1024);
}

WestonSession::~WestonSession()
{
    if (m_pid <= 0)
        return;
    ::kill(pid_t(m_pid), SIGTERM); // weston ends its own helper clients as it goes
    for (int i = 0; i < 100 && ::kill(pid_t(m_pid), 0) == 0; ++i)
        QThread::msleep(50);
}

bool WestonSession::start(QString *why, Backend backend, int scale)
{
    m_scale = scale;
    const bool nested = backend == Backend::NestedInX;
    if (nested && qEnvironmentVariableIsEmpty("DISPLAY")) {
        *why = QStringLiteral("no X server to nest in (DISPLAY is not set)");
        return false;
    }
    if (!m_runtime.isValid()) {
        *why = QStringLiteral("no temporary folder");
        return false;
    }
    const QDir runtime(m_runtime.path());
    QFile config(runtime.filePath(QStringLiteral("weston.ini")));
    if (!config.open(QIODevice::WriteOnly) || config.write(kConfig) < 0) {
        *why = config.errorString();
        return false;
    }
    config.close();
    QProcess weston;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    if (!nested)
        env.remove(QStringLiteral("DISPLAY"));
    weston.setProcessEnvironment(env);
    // weston runs under a small keeper that ends it with the test: a test cut off (a crash, a time
    // limit) must not leave it behind, least of all nested, where it spins once its X server is gone.
    weston.setProgram(QStringLiteral("sh"));
    const QStringList keeper{QStringLiteral("-c"), QLatin1String(kKeeper), QStringLiteral("weston-keeper"),
                             QString::number(QCoreApplication::applicationPid())};
    // --debug lets the screenshooter in.
    weston.setArguments(
        keeper + QStringList{nested ? QStringLiteral("--backend=x11-backend.so")
                                    : QStringLiteral("--backend=headless-backend.so"),
                             QStringLiteral("--use-pixman"),
                             QStringLiteral("--width=%1").arg(outputSize(backend).width()), // in points
                             QStringLiteral("--height=%1").arg(outputSize(backend).height()),
                             QStringLiteral("--scale=%1").arg(scale), QStringLiteral("--debug"),
                             QStringLiteral("--socket=") + QLatin1String(kSocket),
                             QStringLiteral("--config=") + config.fileName(),
                             QStringLiteral("--log=") + runtime.filePath(QStringLiteral("weston.log"))});
    if (!weston.startDetached(&m_pid)) {
        *why = QStringLiteral("weston did not start: ") + weston.errorString();
        return false;
    }
    // Its socket appears once it is ready for clients.
    for (int i = 0; i < 400 && !QFileInfo::exists(display()) && ::kill(pid_t(m_pid), 0) == 0; ++i)
        QThread::msleep(50);
    if (!QFileInfo::exists(display())) {
        QFile log(runtime.filePath(QStringLiteral("weston.log")));
        log.open(QIODevice::ReadOnly);
        *why = QStringLiteral("weston never opened its socket: ") +
               QString::fromLocal8Bit(log.readAll().right(2000));
        return false;
    }
    return true;
}

QString WestonSession::display() const
{
    return QDir(m_runtime.path()).filePath(QLatin1String(kSocket));
}

QProcessEnvironment WestonSession::clientEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), display());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    env.remove(QStringLiteral("DISPLAY"));
    return env;
}

QImage WestonSession::screenshot() const
{
    QTemporaryDir shots;
    QProcess shooter;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), display());
    shooter.setProcessEnvironment(env);
    shooter.setWorkingDirectory(shots.path()); // it writes wayland-screenshot-<time>.png there
    shooter.start(QStringLiteral("weston-screenshooter"), {});
    if (!shooter.waitForFinished(20000) || shooter.exitCode() != 0)
        return {};
    const QStringList written = QDir(shots.path()).entryList({QStringLiteral("*.png")}, QDir::Files);
    if (written.size() != 1)
        return {};
    return QImage(QDir(shots.path()).filePath(written.first())).convertToFormat(QImage::Format_RGB32);
}
