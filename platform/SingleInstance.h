// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// One running copy per user: the first start listens on a per-user local socket; a later start
// finds it, asks it to come to the front, and ends. The abstract socket namespace leaves nothing
// behind when a copy crashes, so a stale socket never blocks the next start.
class SingleInstance final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SingleInstance)

public:
    enum Claim { First, AnotherRunning, Unguarded };

    explicit SingleInstance(const QString &name = defaultName(), QObject *parent = nullptr);
    ~SingleInstance() override;

    // "tessaloom-<uid>", plus "-" and TESSALOOM_INSTANCE_KEY when set (keeps test runs apart).
    static QString defaultName();

    // First: this copy now listens. AnotherRunning: the running copy was told to come to the front,
    // with the window system's activation token this start was given (XDG_ACTIVATION_TOKEN, set by
    // a Wayland launcher), so the compositor lets it take the focus; this one should end.
    // Unguarded: no socket could be had; run without the guard.
    Claim claim();
    QString name() const { return m_name; }

Q_SIGNALS:
    // A later start asked this copy to come to the front; the token is empty when it had none.
    void activationRequested(const QString &activationToken);

private:
    bool tellRunningInstance();
    void acceptConnection();

    QString m_name;
    QLocalServer *m_server = nullptr;
};
