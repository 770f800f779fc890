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

    // First: this copy now listens. AnotherRunning: the running copy was told to come to the front;
    // this one should end. Unguarded: no socket could be had; run without the guard.
    Claim claim();
    QString name() const { return m_name; }

Q_SIGNALS:
    void activationRequested(); // a later start asked this copy to come to the front

private:
    bool tellRunningInstance();
    void acceptConnection();

    QString m_name;
    QLocalServer *m_server = nullptr;
};
