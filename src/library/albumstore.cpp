#include "library/albumstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMutex>
#include <QSet>

#include "library/errorlog.h"
#include "library/global.h"
#include "library/names.h"
#include "platform/files.h"
#include "platform/textcodec.h"

namespace library {

namespace {

Q_LOGGING_CATEGORY(lcAlbums, "musetra.library.albums")

const QString kTitlesFile = QStringLiteral("title.dat");
const QString kUnknownTrack = QStringLiteral("Unknown track name");
constexpr qsizetype kExtensionLength = 4; // ".mp3", ".mpg"
// Three digits choose tracks up to 999 and a touch on the track list any row beyond; no album of
// ours comes near this many, and the bound keeps a hostile file from costing gigabytes.
constexpr qsizetype kMaxTitles = 9999;
// Far more than any row shows; a longer line would only cost time where it is drawn.
constexpr qsizetype kMaxTitleBytes = 1024;

// Why the folder `folder`, read as `entry`, is no album; empty when it is one. A folder without an
// artist or album part would get no row in the lists. An album folder must be an ordinary folder
// inside the library: a link that resolves to the root or above it would get "title.dat" written
// outside any album. Only links need resolving; `root` is the library folder, resolved once per scan.
QString leftOutReason(const platform::Subfolder& folder, const talbumtype& entry, const QString& root)
{
    if (entry.artist.isEmpty()) return QStringLiteral("its name has no artist before \"__\"");
    if (entry.album.isEmpty()) return QStringLiteral("its name has no album after \"__\"");
    if (!folder.link) return {};
    const QString target = QFileInfo(platform::joinPath(config.path, folder.name)).canonicalFilePath();
    if (target.isEmpty()) return QStringLiteral("it is a link that leads nowhere");
    if (target == root || target == QLatin1String("/") || root.startsWith(target + QLatin1Char('/')))
        return QStringLiteral("it leads to the library folder or one above it");
    return {};
}

// The operator hears of every folder left out, with the reason, in the error output and the error
// log: otherwise an album would be missing from the jukebox without a word.
void reportLeftOut(const QString& name, const QString& reason)
{
    const QString text = QStringLiteral("Album folder %1 left out: %2").arg(name, reason);
    qCWarning(lcAlbums).noquote() << text;
    writeerrorlog(text);
}

// Said on the welcome line too: why no album shows, naming the library folder.
void reportNoAlbums(const QString& why)
{
    libraryproblem = why;
    qCWarning(lcAlbums).noquote() << why;
    writeerrorlog(why);
}

// Album folders (full paths) the scan found without a titles file, until makependingtitles has
// made it. Read on the window thread while a worker makes the files.
QMutex pendingLock;
QSet<QString> pending;

void addPendingTitles(const QStringList& folders)
{
    const QMutexLocker locked(&pendingLock);
    for (const QString& folder : folders)
        pending.insert(folder);
}

QStringList pendingTitles()
{
    const QMutexLocker locked(&pendingLock);
    return pending.values();
}

void dropPendingTitles(const QString& folder)
{
    const QMutexLocker locked(&pendingLock);
    pending.remove(folder);
}

bool isPendingTitles(const QString& folder)
{
    const QMutexLocker locked(&pendingLock);
    return pending.contains(folder);
}

} // namespace

QStringList titlesFromTracks(const QString& folder)
{
    QStringList titles;
    for (const QString& file : platform::listFolder(folder, {QStringLiteral("*.mp?")}, QDir::Files))
        titles.append(oneLineTitle(file.left(file.size() - kExtensionLength)));
    return titles;
}

QString titlesfilepath(const QString& folder)
{
    const QString existing = platform::findNoCase(folder, kTitlesFile);
    return existing.isEmpty() ? platform::joinPath(folder, kTitlesFile) : existing;
}

QByteArray titlesfiletext(const QStringList& titles)
{
    QString text;
    for (const QString& line : titles)
        text += oneLineTitle(line) + QLatin1Char('\n');
    return text.toUtf8();
}

bool scanalbumfolders(const std::function<void()>& afterEachAlbum)
{
    libraryproblem.clear();
    const QString problem = platform::folderProblem(config.path);
    if (!problem.isEmpty()) {
        reportNoAlbums(QStringLiteral("The library folder %1 (setting Path) %2").arg(config.path, problem));
        return false;
    }
    // Hidden folders are left out; the order is case-insensitive by name. Folders whose names are
    // not UTF-8 cannot be opened by any name we could read.
    QStringList unreadable;
    const QList<platform::Subfolder> folders =
        platform::listSubfolders(config.path, QStringLiteral("__"), unreadable, kTitlesFile);
    for (const QString& name : unreadable)
        reportLeftOut(name, QStringLiteral("its name is not valid UTF-8; please rename it"));
    qsizetype leftOut = unreadable.size();
    const QString root = QFileInfo(config.path).canonicalFilePath();
    albumtype found(1); // slot 0 holds no album
    found.reserve(folders.size() + 1);
    QStringList missing;
    for (const platform::Subfolder& subfolder : folders) {
        talbumtype entry;
        extractalbumartist(subfolder.name, entry.album, entry.artist);
        // Leaving a folder out here keeps the album count and the rows in step.
        const QString reason = leftOutReason(subfolder, entry, root);
        if (!reason.isEmpty()) {
            reportLeftOut(subfolder.name, reason);
            ++leftOut;
            continue;
        }
        found.append(std::move(entry));
        // The titles file as we write it was looked for with the listing; another spelling is rare.
        if (!subfolder.holds) {
            const QString folder = platform::joinPath(config.path, subfolder.name);
            if (platform::findNoCase(folder, kTitlesFile).isEmpty()) missing.append(folder);
        }
        if (afterEachAlbum) afterEachAlbum();
    }
    addPendingTitles(missing);
    if (found.size() == 1) {
        reportNoAlbums(
            QStringLiteral("No album folder (Artist__Album) in %1%2")
                .arg(config.path, leftOut == 0
                                      ? QString()
                                      : QStringLiteral(": %1 left out, see the error log").arg(leftOut)));
        return false;
    }
    albumref = found;
    albumrefonload = found;
    album.resize(found.size());
    albumcount = static_cast<int32_t>(found.size() - 1);
    albumrefonloadcount = albumcount;
    return true;
}

void maketitles(const QString& folderName)
{
    const QString folder = platform::joinPath(config.path, folderName);
    const QString target = titlesfilepath(folder);
    platform::removeAtomicWriteLeftovers(target);
    if (!platform::writeFileAtomically(target, titlesfiletext(titlesFromTracks(folder))))
        qCWarning(lcAlbums) << "cannot write" << target;
}

void makependingtitles()
{
    // A folder without tracks (a link to some folder elsewhere, perhaps) gets no file: it stays
    // pending and reads as an empty album for the rest of the run.
    QStringList made;
    QList<std::pair<QString, QByteArray>> files;
    for (const QString& folder : pendingTitles()) {
        const QStringList titles = titlesFromTracks(folder);
        if (titles.isEmpty()) continue;
        const QString target = platform::joinPath(folder, kTitlesFile);
        platform::removeAtomicWriteLeftovers(target);
        files.append({target, titlesfiletext(titles)});
        made.append(folder);
    }
    platform::writeNewFilesTogether(files);
    for (const QString& folder : made)
        dropPendingTitles(folder);
}

bool visittitlelines(const QString& folderPath, const platform::LineVisitor& visitor)
{
    const QString name = platform::findNoCase(folderPath, kTitlesFile);
    if (!name.isEmpty()) return platform::visitTextLines(name, kMaxTitles, kMaxTitleBytes, visitor);
    if (!isPendingTitles(folderPath)) return false;
    // Read as the file will read once made.
    for (const QString& made : titlesFromTracks(folderPath).mid(0, kMaxTitles)) {
        if (!visitor.take(made)) break;
    }
    return true;
}

bool readtitlelines(const QString& folderPath, QStringList& lines)
{
    QStringList read;
    if (!visittitlelines(folderPath, platform::collectLines(read))) return false;
    lines = read;
    return true;
}

bool readtitlesfile(const QString& folderPath, QStringList& titles)
{
    QStringList lines;
    if (!readtitlelines(folderPath, lines)) return false;
    for (QString& line : lines) {
        if (line.isEmpty()) line = kUnknownTrack;
    }
    titles = lines;
    return true;
}

bool loadtitles(const QString& path)
{
    if (!QFileInfo(path).isDir()) return false;
    QStringList titles;
    if (!readtitlesfile(path, titles)) return false;
    tracks = titles;
    trackscount = static_cast<int32_t>(titles.size());
    return true;
}

void appendalbum(const QString& art, const QString& alb)
{
    ++albumcount;
    album.resize(albumcount + 1);
    album[albumcount] = {alb, art};
}

void removealbum(int i)
{
    if (i < 1 || i > albumcount) return;
    if (album.size() < albumcount + 1) album.resize(albumcount + 1);
    for (int n = i; n < albumcount; ++n)
        album[n] = album[n + 1];
    album[albumcount] = {};
    --albumcount;
}

void rebuildjalbum()
{
    const bool odd = albumcount % 2 != 0;
    jalbumcount = albumcount + (odd ? 1 : 0);
    jalbum = album;
    jalbum.resize(jalbumcount + 1);
    // The filler fills the second slot of the last page; no album number reaches it.
    if (odd) jalbum[jalbumcount] = {QString(), QString(QChar(12))};
}

QString albumfoldername(const talbumtype& entry)
{
    return entry.artist + QStringLiteral("__") + entry.album;
}

QString albumfolderpath(const talbumtype& entry)
{
    return platform::joinPath(config.path, albumfoldername(entry));
}

} // namespace library
