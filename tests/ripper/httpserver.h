#pragma once

// An HTTP server on the loopback interface for tests, on its own thread (the program's client
// blocks the window thread while it asks). Each request target is answered from a table: status
// and body; a target not in the table gets 404, and status 0 keeps the client waiting without an
// answer until the server stops. A server made with a responder answers through it instead.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class QTcpSocket;

class LoopbackHttp
{
public:
    // The whole response to a request target; empty keeps the client waiting. Called on the
    // server's thread.
    using Responder = std::function<QByteArray(const QByteArray& target)>;

    LoopbackHttp();
    explicit LoopbackHttp(Responder responder);
    ~LoopbackHttp();
    LoopbackHttp(const LoopbackHttp&) = delete;
    LoopbackHttp& operator=(const LoopbackHttp&) = delete;

    // "127.0.0.1:<port>".
    QString host() const;
    void answer(const QByteArray& target, int status, const QByteArray& body);
    // The targets asked so far, in order.
    QList<QByteArray> targets() const;
    // Whether a client is kept waiting and none kept waiting has closed its connection (given up),
    // as the server sees it after the call.
    bool clientsStillWait() const;

private:
    void serve();
    // The whole response to `target`; empty to keep the client waiting.
    QByteArray respond(const QByteArray& target);
    void noteWaitingClients(const std::vector<std::unique_ptr<QTcpSocket>>& waiting);

    std::atomic<bool> stop_{false};
    std::atomic<int> port_{0};
    std::atomic<bool> clientsWait_{false};
    std::atomic<int> sweeps_{0}; // rounds of the server's loop
    mutable QMutex mutex_;       // guards the table and the targets
    QHash<QByteArray, QPair<int, QByteArray>> table_;
    QList<QByteArray> targets_;
    Responder responder_;
    std::thread thread_;
};
