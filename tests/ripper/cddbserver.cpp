#include "cddbserver.h"

#include <QHostAddress>
#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <QUrlQuery>

namespace {

constexpr int kPollMs = 50;

// The "cmd" value of an HTTP request line "GET /path?cmd=...&... HTTP/1.0".
QString commandOf(const QByteArray& request)
{
    const QList<QByteArray> words = request.split(' ');
    if (words.size() < 2) return {};
    const QUrlQuery query(QUrl(QString::fromLatin1(words[1])).query());
    return query.queryItemValue(QStringLiteral("cmd"), QUrl::FullyDecoded)
        .replace(QLatin1Char('+'), QLatin1Char(' '));
}

} // namespace

LoopbackCddb::LoopbackCddb()
{
    thread_ = std::thread([this] { serve(); });
    while (port_ == 0)
        std::this_thread::yield();
}

LoopbackCddb::~LoopbackCddb()
{
    stop_ = true;
    thread_.join();
}

QString LoopbackCddb::server() const
{
    return QStringLiteral("127.0.0.1:") + QString::number(port_);
}

QStringList LoopbackCddb::commands() const
{
    const QMutexLocker lock(&mutex_);
    return commands_;
}

void LoopbackCddb::setQueryReply(const QString& reply)
{
    const QMutexLocker lock(&mutex_);
    queryReply_ = reply;
}

void LoopbackCddb::setRecord(const QString& discid, const QString& record)
{
    const QMutexLocker lock(&mutex_);
    records_.insert(discid, record);
}

QString LoopbackCddb::answer(const QString& command)
{
    const QMutexLocker lock(&mutex_);
    commands_.append(command);
    const QStringList words = command.split(QLatin1Char(' '));
    if (words.value(1) == QStringLiteral("query")) return queryReply_;
    const QString discid = words.value(3);
    if (words.value(1) == QStringLiteral("read") && records_.contains(discid))
        return QStringLiteral("210 ") + words.value(2) + QLatin1Char(' ') + discid +
               QStringLiteral(" CD database entry follows\r\n") + records_.value(discid) +
               QStringLiteral(".\r\n");
    return QStringLiteral("401 Specified CDDB entry not found.\r\n");
}

void LoopbackCddb::serve()
{
    QTcpServer listener;
    if (!listener.listen(QHostAddress::LocalHost)) {
        port_ = -1;
        return;
    }
    port_ = listener.serverPort();
    while (!stop_) {
        if (!listener.waitForNewConnection(kPollMs)) continue;
        QTcpSocket* socket = listener.nextPendingConnection();
        QByteArray request;
        while (!request.contains("\r\n\r\n") && !request.contains("\n\n") && socket->waitForReadyRead(2000))
            request += socket->readAll();
        const QString body = answer(commandOf(request.left(request.indexOf('\n'))));
        socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + body.toUtf8());
        socket->waitForBytesWritten(2000);
        socket->disconnectFromHost();
        if (socket->state() != QAbstractSocket::UnconnectedState) socket->waitForDisconnected(2000);
        delete socket;
    }
}

QString cddbRecordText(const QString& artist, const QString& album, const QStringList& titles)
{
    QString record = QStringLiteral("# xmcd\r\n#\r\n# Track frame offsets:\r\n");
    for (int i = 0; i < std::max<qsizetype>(1, titles.size()); ++i)
        record += QStringLiteral("#\t") + QString::number(150 + 100 * i) + QStringLiteral("\r\n");
    record += QStringLiteral(
                  "#\r\n# Disc length: 5 seconds\r\n#\r\n# Revision: 1\r\n#\r\nDISCID=00000000\r\nDTITLE=") +
              artist + QStringLiteral(" / ") + album + QStringLiteral("\r\nDYEAR=\r\nDGENRE=\r\n");
    for (int i = 0; i < titles.size(); ++i)
        record += QStringLiteral("TTITLE") + QString::number(i) + QLatin1Char('=') + titles[i] +
                  QStringLiteral("\r\n");
    return record + QStringLiteral("EXTD=\r\nPLAYORDER=\r\n");
}
