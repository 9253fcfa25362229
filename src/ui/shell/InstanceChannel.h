#pragma once
// The local socket over which a second start hands a database file to the
// running instance. A message is the path as a QDataStream string; the
// running instance answers with one byte once it has taken the path.

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace folianto {

class InstanceServer : public QObject {
    Q_OBJECT
public:
    explicit InstanceServer(QObject* parent = nullptr);

    // Listens at `socketPath` (only this user may connect). The caller holds
    // the single-instance lock, so a socket already there is a leftover of a
    // run that crashed and is replaced. False when it cannot listen.
    bool Listen(const QString& socketPath);

Q_SIGNALS:
    void FileHandedOver(const QString& path);

private:
    void Accept();
    void Read(QLocalSocket* client);

    QLocalServer* server_;
};

// Hands `path` to the instance listening at `socketPath`. True when it took
// the path; false when none answers within `timeoutMs`. Runs a local event
// loop while it waits, so the instance may live in the same process.
bool HandOverFile(const QString& socketPath, const QString& path, int timeoutMs = 5000);

} // namespace folianto
