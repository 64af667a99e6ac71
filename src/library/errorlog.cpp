#include "library/errorlog.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QString>

#include "library/global.h"
#include "platform/files.h"

namespace library {

namespace {

// The error log is emptied before a write once it is more than 80 blocks of 128 bytes long.
constexpr qint64 kErrorLogBlock = 128;
constexpr qint64 kErrorLogMaxBlocks = 80;

// A locale's time format without its time zone field, which the error log does not carry.
QString withoutZone(const QString& format)
{
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (!quoted && c == QLatin1Char('t')) continue;
        out += c;
    }
    return out.trimmed();
}

// "ddddd tt": the locale's short date and long time.
QString errorLogStamp(const QDateTime& when)
{
    const QLocale locale = QLocale::system();
    return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(when.time(), withoutZone(locale.timeFormat(QLocale::LongFormat)));
}

} // namespace

void writeerrorlog(const QString& text)
{
    if (config.errorlog.isEmpty()) return;
    const QString path = platform::resolveNoCase(config.errorlog);
    if (path.isEmpty() || !QFileInfo(path).isFile()) return;
    const bool full = QFileInfo(path).size() / kErrorLogBlock > kErrorLogMaxBlocks;
    QFile log;
    const QIODevice::OpenMode mode =
        QIODevice::ExistingOnly | (full ? QIODevice::Truncate : QIODevice::Append);
    if (!platform::openFileForWriting(log, path, mode)) return;
    // One line per error, whatever the file name holds.
    QString line = errorLogStamp(QDateTime::currentDateTime()) + QStringLiteral(" - ") + text;
    line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    log.write((line + QLatin1Char('\n')).toUtf8());
}

} // namespace library
