#include "ui/SingleInstance.h"

#include <QDataStream>
#include <QLocalServer>
#include <QLocalSocket>

#include "app/ZavioApp.h"
#include "framework/FileSystem.h"

namespace zavio {
namespace {

// How long a start waits for the running copy: it answers from its event
// loop, which a long conversion can hold up for a while.
constexpr int kConnectMs = 1000;
constexpr int kAnswerMs = 10000;
constexpr char kTaken = '1';

}  // namespace

QString InstanceSocketPath()
{
    const std::string folder = UserProgramFolder();
    if (folder.empty()) return {};
    auto native = ToNativePath(folder + "instance");
    return native ? QString::fromStdString(*native) : QString();
}

bool HandFilesToRunningCopy(const QString& socketPath, const QStringList& files)
{
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(kConnectMs)) return false;
    QDataStream out(&socket);
    out << files;
    if (!socket.waitForBytesWritten(kConnectMs)) return false;
    char answer = 0;
    return socket.waitForReadyRead(kAnswerMs) && socket.getChar(&answer) && answer == kTaken;
}

InstanceServer::InstanceServer(QObject* parent) : QObject(parent), m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceServer::OnConnection);
}

bool InstanceServer::Listen(const QString& socketPath)
{
    if (socketPath.isEmpty()) return false;
    if (m_server->listen(socketPath)) return true;
    // A socket left by a copy that ended without closing it is taken over;
    // one that answers belongs to a running copy.
    QLocalSocket probe;
    probe.connectToServer(socketPath);
    if (probe.waitForConnected(kConnectMs)) return false;
    QLocalServer::removeServer(socketPath);
    return m_server->listen(socketPath);
}

void InstanceServer::OnConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QDataStream in(socket);
            in.startTransaction();
            QStringList files;
            in >> files;
            if (!in.commitTransaction()) return;  // the rest is still on its way
            socket->putChar(kTaken);
            socket->flush();
            // Opened once this handler has returned: opening shows boxes whose
            // own loops would meanwhile see the socket close and delete it
            // under the handler's feet.
            QMetaObject::invokeMethod(
                this, [this, files] { emit filesReceived(files); }, Qt::QueuedConnection);
        });
    }
}

}  // namespace zavio
