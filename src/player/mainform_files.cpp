// Track files of the queue and the CD-player style, and the report of files that are missing or
// cannot be played (jukebox message line and error log).

#include "player/mainform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "library/errorlog.h"
#include "library/global.h"
#include "platform/files.h"
#include "player/frontend.h"
#include "player/olespeech.h"

namespace player {

namespace {

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
    library::writeerrorlog(text);
}

} // namespace player
