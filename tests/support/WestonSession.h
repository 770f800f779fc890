// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRgb>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

// A Wayland compositor of the test's own: weston on its headless backend (drawn by pixman, so its
// screenshooter sees what a person would), an output of 1280x1024 points (nested: 1200x960) over a
// plain green desktop, in a runtime folder of its own. Ended with the session. Nested in the X server
// that DISPLAY names, it shows its output in an X window and takes that server's pointer as its
// seat's: input sent there (xdotool) reaches its clients as a person's would.
class WestonSession
{
    Q_DISABLE_COPY_MOVE(WestonSession)

public:
    static constexpr QRgb Desktop = qRgb(64, 160, 64);
    enum class Backend { Headless, NestedInX };

    WestonSession() = default;
    ~WestonSession();

    // Starts weston and waits for its socket; false with the reason when it cannot. Works before the
    // application object exists, so that the application can connect to it.
    // scale: the output's pixels per point (2: a HiDPI screen, its shots twice as large).
    bool start(QString *why, Backend backend = Backend::Headless, int scale = 1);
    static QSize outputSize(Backend backend);
    // The socket's full path: what WAYLAND_DISPLAY names for a client of this compositor.
    QString display() const;
    // The environment of a program run as a client of this compositor on Qt's Wayland plugin.
    QProcessEnvironment clientEnvironment() const;
    // The whole output as the compositor shows it now (through weston's screenshooter); a null
    // image when the shot failed.
    QImage screenshot() const;
    int scale() const { return m_scale; }

private:
    QTemporaryDir m_runtime;
    qint64 m_pid = 0;
    int m_scale = 1;
};
