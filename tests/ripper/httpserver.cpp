#include "httpserver.h"

#include <QHostAddress>
#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>
#include <chrono>
#include <memory>
#include <vector>

namespace {
constexpr int kPollMs = 20;
}

LoopbackHttp::LoopbackHttp() : LoopbackHttp(Responder()) {}

LoopbackHttp::LoopbackHttp(Responder responder)
    : responder_(std::move(responder)), thread_([this] { serve(); })
{
    while (port_ == 0)
        std::this_thread::yield();
}

LoopbackHttp::~LoopbackHttp()
{
    stop_ = true;
    thread_.join();
}

QString LoopbackHttp::host() const
{
    return QStringLiteral("127.0.0.1:") + QString::number(port_);
}

void LoopbackHttp::answer(const QByteArray& target, int status, const QByteArray& body)
{
    const QMutexLocker lock(&mutex_);
    table_.insert(target, {status, body});
}

QList<QByteArray> LoopbackHttp::targets() const
{
    const QMutexLocker lock(&mutex_);
    return targets_;
}

bool LoopbackHttp::clientsStillWait() const
{
    const int called = sweeps_;
    while (sweeps_ < called + 2) // a whole round begun after the call
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return clientsWait_;
}

void LoopbackHttp::noteWaitingClients(const std::vector<std::unique_ptr<QTcpSocket>>& waiting)
{
    bool wait = !waiting.empty();
    for (const auto& socket : waiting) {
        socket->waitForReadyRead(0); // takes in a close the client made
        wait = wait && socket->state() == QAbstractSocket::ConnectedState;
    }
    clientsWait_ = wait;
    ++sweeps_;
}

QByteArray LoopbackHttp::respond(const QByteArray& target)
{
    const QMutexLocker lock(&mutex_);
    targets_.append(target);
    if (responder_) return responder_(target);
    const auto [status, body] = table_.value(target, {404, QByteArray("not here")});
    if (status == 0) return {};
    return "HTTP/1.0 " + QByteArray::number(status) +
           " X\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body;
}

void LoopbackHttp::serve()
{
    QTcpServer listener;
    port_ = listener.listen(QHostAddress::LocalHost) ? listener.serverPort() : -1;
    std::vector<std::unique_ptr<QTcpSocket>> waiting;
    while (!stop_) {
        noteWaitingClients(waiting);
        if (!listener.waitForNewConnection(kPollMs)) continue;
        std::unique_ptr<QTcpSocket> socket(listener.nextPendingConnection());
        QByteArray request;
        // Some clients send a bare request line and no headers.
        while (!request.contains("\r\n\r\n") && !request.contains("\n\n") && socket->waitForReadyRead(2000))
            request += socket->readAll();
        const QByteArray response =
            respond(request.left(request.indexOf('\n')).trimmed().split(' ').value(1));
        if (response.isEmpty()) {
            waiting.push_back(std::move(socket));
            continue;
        }
        socket->write(response);
        socket->waitForBytesWritten(2000);
        socket->disconnectFromHost();
        if (socket->state() != QAbstractSocket::UnconnectedState) socket->waitForDisconnected(2000);
    }
}
