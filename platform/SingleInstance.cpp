// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <sys/socket.h>
#include <unistd.h>

namespace
{

constexpr int kConnectTimeoutMs = 500;
const QByteArray kActivate = QByteArrayLiteral("activate");
constexpr int kMaxLineLength = 1024; // a token is far shorter; anything longer is not ours

bool ownedByThisUser(qintptr descriptor)
{
    ucred peer{};
    socklen_t length = sizeof peer;
    return ::getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 &&
           peer.uid == ::getuid();
}

} // namespace

SingleInstance::SingleInstance(const QString &name, QObject *parent) : QObject(parent), m_name(name) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultName()
{
    QString name = QStringLiteral("tessaloom-%1").arg(::getuid());
    const QString key = qEnvironmentVariable("TESSALOOM_INSTANCE_KEY");
    if (!key.isEmpty())
        name += QLatin1Char('-') + key;
    return name;
}

SingleInstance::Claim SingleInstance::claim()
{
    if (tellRunningInstance())
        return AnotherRunning;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::AbstractNamespaceOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnection);
    if (m_server->listen(m_name))
        return First;
    // Another copy started at the same moment and won the name: let it have the window.
    if (m_server->serverError() == QAbstractSocket::AddressInUseError && tellRunningInstance())
        return AnotherRunning;
    qWarning("Single-instance guard unavailable: %s", qPrintable(m_server->errorString()));
    delete m_server;
    m_server = nullptr;
    return Unguarded;
}

bool SingleInstance::tellRunningInstance()
{
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    // The abstract namespace is shared by all users: hand over only to a copy of our own.
    if (!ownedByThisUser(socket.socketDescriptor()))
        return false;
    const QByteArray token = qgetenv("XDG_ACTIVATION_TOKEN").simplified().replace(' ', "");
    socket.write(kActivate + (token.isEmpty() ? QByteArray() : ' ' + token) + '\n');
    const bool sent = socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kConnectTimeoutMs);
    return sent;
}

void SingleInstance::acceptConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                const QList<QByteArray> words = socket->readLine(kMaxLineLength).trimmed().split(' ');
                if (words.first() == kActivate && words.size() <= 2)
                    Q_EMIT activationRequested(words.size() == 2 ? QString::fromLatin1(words[1]) : QString());
            }
            if (socket->bytesAvailable() > kMaxLineLength)
                socket->abort();
        });
    }
}
