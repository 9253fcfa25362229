#include "ui/shell/InstanceChannel.h"

#include "core/Trace.h"
#include "platform/SingleInstanceLock.h"

#include <QDataStream>
#include <QEventLoop>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace folianto {
namespace {

constexpr char kTaken = 'A';
// A path longer than this is no path; the connection is dropped.
constexpr qint64 kMaxMessage = 64 * 1024;

} // namespace

InstanceServer::InstanceServer(QObject* parent) : QObject(parent), server_(new QLocalServer(this))
{
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &InstanceServer::Accept);
}

bool InstanceServer::Listen(const QString& socketPath)
{
    TraceScope trace("InstanceServer.Listen");
    if (server_->listen(socketPath))
        return true;
    if (server_->serverError() != QAbstractSocket::AddressInUseError ||
        !IsOwnFile(QFile::encodeName(socketPath).toStdString()))
        return false;
    QLocalServer::removeServer(socketPath);
    return server_->listen(socketPath);
}

void InstanceServer::Accept()
{
    while (QLocalSocket* client = server_->nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, this, [this, client] { Read(client); });
        if (client->bytesAvailable() > 0)
            Read(client);
    }
}

void InstanceServer::Read(QLocalSocket* client)
{
    if (client->bytesAvailable() > kMaxMessage) {
        client->abort();
        return;
    }
    QDataStream in(client);
    in.startTransaction();
    QString path;
    in >> path;
    if (!in.commitTransaction())
        return; // the rest is still on its way
    client->write(&kTaken, 1);
    client->flush();
    client->disconnectFromServer();
    if (!path.isEmpty())
        Q_EMIT FileHandedOver(path);
}

bool HandOverFile(const QString& socketPath, const QString& path, int timeoutMs)
{
    TraceScope trace("InstanceServer.HandOverFile");
    // Another user's socket in a shared folder must not learn the path.
    if (!IsOwnFile(QFile::encodeName(socketPath).toStdString()))
        return false;
    QLocalSocket socket;
    QEventLoop loop;
    bool taken = false;
    QObject::connect(&socket, &QLocalSocket::connected, &loop, [&] {
        QDataStream out(&socket);
        out << path;
    });
    const auto readAnswer = [&] {
        char answer = 0;
        taken = taken || (socket.read(&answer, 1) == 1 && answer == kTaken);
        loop.quit();
    };
    QObject::connect(&socket, &QLocalSocket::readyRead, &loop, readAnswer);
    QObject::connect(&socket, &QLocalSocket::disconnected, &loop, readAnswer);
    QObject::connect(&socket, &QLocalSocket::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    socket.connectToServer(socketPath);
    if (socket.state() != QLocalSocket::UnconnectedState)
        loop.exec();
    return taken;
}

} // namespace folianto
