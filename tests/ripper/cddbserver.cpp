#include "cddbserver.h"

#include <QMutexLocker>
#include <QUrl>
#include <QUrlQuery>

namespace {

// The "cmd" value of a request target "/path?cmd=...&...".
QString commandOf(const QByteArray& target)
{
    const QUrlQuery query(QUrl(QString::fromLatin1(target)).query());
    return query.queryItemValue(QStringLiteral("cmd"), QUrl::FullyDecoded)
        .replace(QLatin1Char('+'), QLatin1Char(' '));
}

} // namespace

LoopbackCddb::LoopbackCddb()
    : http_([this](const QByteArray& target) {
          return "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + answer(commandOf(target)).toUtf8();
      })
{
}

LoopbackCddb::~LoopbackCddb() = default;

QString LoopbackCddb::server() const
{
    return http_.host();
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
