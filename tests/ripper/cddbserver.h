#pragma once

// A CD database server on the loopback interface for tests. It answers the HTTP form of the
// protocol through the loopback HTTP server: a query is answered with `queryReply`, a read with the record of
// `records` for its disc identifier ("210" when known, "401" otherwise).

#include <QHash>
#include <QMutex>
#include <QString>
#include <QStringList>

#include "httpserver.h"

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
    QString answer(const QString& command);

    mutable QMutex mutex_; // guards the replies and the commands
    QString queryReply_;
    QHash<QString, QString> records_;
    QStringList commands_;
    // Last, so that its thread has stopped before the replies go.
    LoopbackHttp http_;
};

// The record text of a disc: DTITLE and one TTITLE per title.
QString cddbRecordText(const QString& artist, const QString& album, const QStringList& titles);
