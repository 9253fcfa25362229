#pragma once
// An HTTP server on 127.0.0.1 (a free port) in its own thread of the test
// process, answering like a catalogue: the first route whose text occurs in
// the request target answers. A route may answer slowly, never, or with a
// body of any size sent without a length.

#include "lookup/LookupTestUtil.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QMutex>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <future>
#include <string>
#include <utility>
#include <vector>

namespace folianto::test {

class LookupTestServer {
public:
    struct Answer {
        int status = 200;
        QByteArray contentType = "application/xml; charset=UTF-8";
        QByteArray body;
        bool silent = false;       // never answers
        qint64 unsizedBytes = 0;   // a body of this many bytes without a length
        qint64 announcedBytes = 0; // a Content-Length above the body sent

        // A 200 answer with `body`; one with another status and no body.
        static Answer Of(const std::string& body, const QByteArray& type = "application/xml; charset=UTF-8")
        {
            return {200, type, QByteArray::fromStdString(body), false, 0, 0};
        }
        static Answer Status(int status) { Answer a; a.status = status; return a; }
    };
    struct Request {
        std::string target, userAgent, accept;
        qint64 ms = 0; // since the server started
    };

    LookupTestServer()
    {
        EnsureCoreApplication();
        std::promise<quint16> port;
        auto future = port.get_future();
        thread_.reset(QThread::create([this, &port] { serve(port); }));
        thread_->start();
        port_ = future.get();
    }
    ~LookupTestServer()
    {
        thread_->quit();
        thread_->wait();
    }

    void on(const std::string& part, Answer answer)
    {
        QMutexLocker lock(&mutex_);
        routes_.emplace_back(part, std::move(answer));
    }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
    std::vector<Request> requests() const
    {
        QMutexLocker lock(&mutex_);
        return requests_;
    }

private:
    void serve(std::promise<quint16>& port)
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        QElapsedTimer clock;
        clock.start();
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this, &server, &clock] {
            while (QTcpSocket* socket = server.nextPendingConnection()) {
                auto* buffer = new QByteArray;
                QObject::connect(socket, &QObject::destroyed, [buffer] { delete buffer; });
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, buffer, &clock] {
                    *buffer += socket->readAll();
                    if (!buffer->contains("\r\n\r\n") || buffer->isEmpty())
                        return;
                    respond(socket, *buffer, clock.elapsed());
                    buffer->clear();
                });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        port.set_value(server.serverPort());
        QEventLoop loop; // ended by QThread::quit
        loop.exec();
    }

    static QByteArray Header(const QByteArray& head, const char* name)
    {
        for (const QByteArray& line : head.split('\n'))
            if (line.toLower().startsWith(QByteArray(name).toLower() + ":"))
                return line.mid(static_cast<int>(qstrlen(name)) + 1).trimmed();
        return {};
    }

    void respond(QTcpSocket* socket, const QByteArray& head, qint64 ms)
    {
        const QByteArray target = head.split(' ').value(1);
        Answer answer;
        answer.status = 404;
        answer.body = "no route";
        {
            QMutexLocker lock(&mutex_);
            requests_.push_back({target.toStdString(), Header(head, "User-Agent").toStdString(),
                                 Header(head, "Accept").toStdString(), ms});
            for (const auto& [part, a] : routes_)
                if (target.contains(QByteArray::fromStdString(part))) {
                    answer = a;
                    break;
                }
        }
        if (answer.silent)
            return;
        QByteArray reply = "HTTP/1.1 " + QByteArray::number(answer.status) + " X\r\nContent-Type: " +
                           answer.contentType + "\r\nConnection: close\r\n";
        if (answer.unsizedBytes == 0)
            reply += "Content-Length: " +
                     QByteArray::number(answer.announcedBytes > 0 ? answer.announcedBytes : answer.body.size()) + "\r\n";
        reply += "\r\n" + answer.body;
        socket->write(reply);
        if (answer.unsizedBytes > 0) {
            // Sent in pieces as the client takes them; stops when it hangs up.
            auto* left = new qint64(answer.unsizedBytes);
            QObject::connect(socket, &QObject::destroyed, [left] { delete left; });
            QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [socket, left] {
                if (*left <= 0 || socket->bytesToWrite() > 0)
                    return;
                const qint64 n = std::min<qint64>(*left, 256 * 1024);
                *left -= n;
                socket->write(QByteArray(static_cast<int>(n), 'x'));
                if (*left <= 0)
                    socket->disconnectFromHost();
            });
            return;
        }
        if (answer.announcedBytes == 0)
            socket->disconnectFromHost();
    }

    std::unique_ptr<QThread> thread_;
    quint16 port_ = 0;
    mutable QMutex mutex_;
    std::vector<std::pair<std::string, Answer>> routes_;
    std::vector<Request> requests_;
};

} // namespace folianto::test
