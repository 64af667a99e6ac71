#pragma once

// A CD database server on the loopback interface for tests. It answers the HTTP form of the
// protocol on its own thread (the program's client blocks the window thread while it asks):
// a query is answered with `queryReply`, a read with the record of `records` for its disc
// identifier ("210" when known, "401" otherwise).

#include <QHash>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <atomic>
#include <thread>

class LoopbackCddb
{
public:
    LoopbackCddb();
    ~LoopbackCddb();
    LoopbackCddb(const LoopbackCddb&) = delete;
    LoopbackCddb& operator=(const LoopbackCddb&) = delete;

    // "127.0.0.1:<port>", the server setting that reaches it.
    QString server() const;
    // The commands asked so far ("cddb query ...", "cddb read ...").
    QStringList commands() const;

    // Set before the road asks; read by the server thread under `mutex_`.
    void setQueryReply(const QString& reply);
    void setRecord(const QString& discid, const QString& record);

private:
    void serve();
    QString answer(const QString& command);

    std::atomic<bool> stop_{false};
    std::atomic<int> port_{0};
    mutable QMutex mutex_; // guards the replies and the commands
    QString queryReply_;
    QHash<QString, QString> records_;
    QStringList commands_;
    std::thread thread_;
};

// The record text of a disc: DTITLE and one TTITLE per title.
QString cddbRecordText(const QString& artist, const QString& album, const QStringList& titles);
