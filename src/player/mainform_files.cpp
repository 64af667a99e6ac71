// Track files of the queue and the CD-player style, and the report of files that are missing or
// cannot be played (jukebox message line and error log).

#include "player/mainform.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include "library/global.h"
#include "platform/files.h"
#include "player/frontend.h"
#include "player/olespeech.h"

namespace player {

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

// Appends `text` to the error log named by the settings, when that file exists; never creates it.
void writeerrorlog(const QString& text)
{
    if (library::config.errorlog.isEmpty()) return;
    const QString path = platform::resolveNoCase(library::config.errorlog);
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

// "nn": the track number with at least two digits.
QString twoDigits(int n)
{
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

} // namespace

QString gettrackatfilepos(int i, const QString& pth)
{
    if (i < 1) return {};
    const QStringList names =
        platform::listFolder(pth, {QStringLiteral("*.MP?")}, QDir::Files | QDir::Hidden | QDir::System);
    if (i > names.size()) return {};
    return platform::joinPath(pth, names.at(i - 1));
}

QString queuetrackfile(const QString& folder, int track)
{
    const QString found = platform::resolveNoCase(folder);
    const QString dir = found.isEmpty() ? folder : found;
    const QString stem = QStringLiteral("TRACK") + twoDigits(track);
    QString file = platform::findNoCase(dir, stem + QStringLiteral(".MP3"));
    if (file.isEmpty()) file = platform::findNoCase(dir, stem + QStringLiteral(".MPG"));
    if (file.isEmpty()) file = gettrackatfilepos(track, dir);
    // Nothing found: the video name stands, and loading it reports the track as missing.
    if (file.isEmpty()) file = platform::joinPath(dir, stem + QStringLiteral(".MPG"));
    return file;
}

QString cdtrackfile(const QString& folder, int row, const QString& title)
{
    const QString found = platform::resolveNoCase(folder);
    const QString dir = found.isEmpty() ? folder : found;
    QString file =
        platform::findNoCase(dir, QStringLiteral("TRACK") + twoDigits(row + 1) + QStringLiteral(".MP3"));
    if (!file.isEmpty()) return file;
    // A title is text from "title.dat": it must not lead out of the album folder.
    QString name = title;
    name.remove(QLatin1Char('/')).remove(QLatin1Char('\\'));
    name += QStringLiteral(".mp3");
    file = platform::findNoCase(dir, name);
    return file.isEmpty() ? platform::joinPath(dir, name) : file;
}

void showerror(const QString& txt, int errortype)
{
    killspeech();
    const QString text = errortype == 0 ? QStringLiteral("File:") + txt.left(txt.size() - 1) +
                                              QStringLiteral("? does not exist")
                                        : QStringLiteral("File:") + txt + QStringLiteral(" is corrupt");
    if (frontend().jukeboxExists() && frontend().jukeboxVisible()) frontend().domessage(text);
    writeerrorlog(text);
}

} // namespace player
