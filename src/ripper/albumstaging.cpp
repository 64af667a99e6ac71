#include "ripper/albumstaging.h"

#include <algorithm>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

#include "library/global.h"
#include "library/names.h"
#include "platform/files.h"
#include "player/mainform.h"
#include "ripper/albumfiles.h"

namespace ripper {

namespace {

Q_LOGGING_CATEGORY(lcStaging, "musetra.ripper.staging")

// Hidden, and without the "__" of an album folder: the scan passes it by.
const QString kStagingRoot = QStringLiteral(".incoming");
// Where a replaced album waits while the new one takes its place, on a file system that cannot
// swap two folders in one step; hidden, so no album is staged under its name.
const QString kReplacedAlbums = QStringLiteral(".replaced");
// In the staging folder of an album taking a track in place: the name of that track.
const QString kTrackInPlace = QStringLiteral(".in-place");
// The PCM files of the tracks being extracted.
const QString kPcmFiles = QStringLiteral("track*.tmp");
// The hidden folders deleted albums go into, with one rename, before their files are removed.
const QString kDeletedAlbums = QStringLiteral(".deleting-");

QString stagingroot()
{
    return platform::joinPath(library::config.path, kStagingRoot);
}

QString replacedroot()
{
    return platform::joinPath(stagingroot(), kReplacedAlbums);
}

// Whether anything, a link to nothing too, stands at `path`.
bool standsat(const QString& path)
{
    const QFileInfo entry(path);
    return entry.exists() || entry.isSymLink();
}

// Whether `path` is a folder of its own, not a link to one.
bool isownfolder(const QString& path)
{
    const QFileInfo entry(path);
    return entry.isDir() && !entry.isSymLink();
}

// Removes the link at `path` alone, never what it points to; false when no link stands there.
bool removeLink(const QString& path)
{
    if (!QFileInfo(path).isSymLink()) return false;
    qCWarning(lcStaging) << "a link is removed alone, not what it points to:" << path;
    QFile::remove(path);
    return true;
}

// Removes the folder `path` with everything in it, or the file there; a link there, or inside,
// goes alone.
void removeTree(const QString& path)
{
    if (removeLink(path)) return;
    if (QFileInfo(path).isDir())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
}

// The entries of the replaced album `old` that `album` has no counterpart of, tracks apart: they
// would stand beside a title list that does not name them.
QStringList extras(const QString& old, const QString& album)
{
    const QStringList tracks = trackfiles(old);
    QStringList kept;
    for (const QString& name :
         QDir(old).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        if (!tracks.contains(name) && platform::findNoCase(album, name).isEmpty()) kept.append(name);
    return kept;
}

// Gives the staged `album` a second name of the extras of `old` before the two change places, so a
// kill at any moment leaves an album in the library with them. False where they could not all be
// linked (a file system without hard links): then none stays, not even a folder made for one, so
// that each is moved over whole once the two have changed places.
bool linkextras(const QString& old, const QString& album)
{
    const QStringList names = extras(old, album);
    if (std::all_of(names.begin(), names.end(), [&](const QString& name) {
            return platform::linkTree(platform::joinPath(old, name), platform::joinPath(album, name));
        }))
        return true;
    for (const QString& name : names)
        removeTree(platform::joinPath(album, name));
    return false;
}

// Moves the extras of the replaced album `old`, now out of the library, into `album`.
void keepextras(const QString& old, const QString& album)
{
    for (const QString& name : extras(old, album))
        QDir().rename(platform::joinPath(old, name), platform::joinPath(album, name));
}

} // namespace

QString stagingfolder(const QString& albumpath)
{
    return platform::joinPath(stagingroot(), albumpath);
}

bool preparestaging(const QString& albumpath)
{
    dropstaging(albumpath);
    return QDir().mkpath(stagingfolder(albumpath));
}

bool stagealbum(const QString& albumpath)
{
    const QString album = platform::joinPath(library::config.path, albumpath);
    if (!isownfolder(album)) return false;
    dropstaging(albumpath);
    if (QDir().mkpath(stagingroot()) && platform::linkTree(album, stagingfolder(albumpath))) return true;
    dropstaging(albumpath);
    return false;
}

bool markinplace(const QString& albumpath, const QString& track)
{
    return preparestaging(albumpath) &&
           platform::writeFileAtomically(platform::joinPath(stagingfolder(albumpath), kTrackInPlace),
                                         track.toUtf8());
}

bool moveintolibrary(const QString& albumpath)
{
    const QString staged = stagingfolder(albumpath);
    const QString album = platform::joinPath(library::config.path, albumpath);
    // A link that stands for the replaced album is replaced alone: the folder it points to keeps
    // every file, and none is carried out of it.
    const bool linked = !isownfolder(album) || linkextras(album, staged);
    const QString aside = platform::joinPath(replacedroot(), albumpath);
    removeTree(aside);
    if (!QDir().mkpath(replacedroot()) || !platform::moveFolderInto(staged, album, aside)) return false;
    // The replaced album is now where the new one was staged, or aside.
    if (!linked) keepextras(QFileInfo::exists(aside) ? aside : staged, album);
    removeTree(aside);
    dropstaging(albumpath);
    return true;
}

QString stagingfailure(const QString& otherwise)
{
    const QFileInfo root(stagingroot());
    if (!root.exists() || root.isDir()) return otherwise;
    return QStringLiteral("A file named \"") + kStagingRoot +
           QStringLiteral("\" stands in the library folder, where albums are put together before they "
                          "join the library. Move it elsewhere and try again.");
}

QString movefailure(const QString& albumpath)
{
    return QStringLiteral("The disk refused to move the album into the library, so it is not added: ") +
           albumpath;
}

void dropstaging(const QString& albumpath)
{
    if (library::config.path.isEmpty() || albumpath.isEmpty()) return;
    // Nothing is staged in, or removed from, the folder a link in place of the staging root points to.
    (void)removeLink(stagingroot());
    removeTree(stagingfolder(albumpath));
}

QString deletionaside()
{
    return platform::joinPath(library::config.path, kDeletedAlbums + QStringLiteral("XXXXXX"));
}

namespace {

// Finishes the replacement of each album (or link standing for one) a kill caught aside: its place
// in the library still empty (the new one never came), it is put back and listed again; else the
// new album takes the files it would have carried over.
void finishreplaced()
{
    const QDir root(replacedroot());
    if (QFileInfo(stagingroot()).isSymLink()) return;
    for (const QString& name : root.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QString old = root.filePath(name);
        const QString place = platform::joinPath(library::config.path, name);
        if (standsat(place)) {
            if (isownfolder(old) && isownfolder(place)) keepextras(old, place);
            continue;
        }
        if (!QDir().rename(old, place)) continue;
        qCWarning(lcStaging) << "an album replaced when the program stopped is put back:" << place;
        QString album;
        QString artist;
        library::extractalbumartist(name, album, artist);
        if (player::mainform) player::mainform->addalbum(artist, album);
    }
}

// Takes out the track that the album `album` was taking in place when a kill came, named in
// `staged`, unless its title line was written: the album is as it was before.
void undotrackinplace(const QString& staged, const QString& album)
{
    QFile mark;
    if (!platform::openRegularFile(mark, platform::joinPath(staged, kTrackInPlace), QIODevice::ReadOnly,
                                   platform::Links::Refuse))
        return;
    const QString track = QString::fromUtf8(mark.readAll());
    const int number = tracknumber(track);
    QStringList titles;
    if (number < 0 || !readtitles(album, titles) || titles.size() >= number) return;
    if (QFile::remove(platform::joinPath(album, track)))
        qCWarning(lcStaging) << "a track added without its title when the program stopped is taken out:"
                             << platform::joinPath(album, track);
}

// Puts right the albums caught taking a track in place (those with a staging folder): the
// temporary copies a kill left in them go, the program's own hidden names, and so does a track
// without its title.
void sweepalbumsinplace()
{
    const QDir root(stagingroot());
    for (const QString& name : root.entryList(QDir::Dirs | QDir::NoSymLinks | QDir::NoDotAndDotDot)) {
        const QString album = platform::joinPath(library::config.path, name);
        platform::removeTemporaryCopies(album);
        undotrackinplace(root.filePath(name), album);
    }
}

} // namespace

void sweepinterrupted()
{
    if (!library::config.path.isEmpty()) {
        sweepalbumsinplace();
        finishreplaced();
        removeTree(stagingroot());
        // Removing a folder takes links inside it without what they point at; a link named as a
        // deleted album is none of ours.
        for (const QString& name : platform::foldersStartingWith(library::config.path, kDeletedAlbums))
            removeTree(platform::joinPath(library::config.path, name));
    }
    if (library::cachepath.isEmpty()) return;
    QDir cache(library::cachepath);
    for (const QString& name : cache.entryList({kPcmFiles}, QDir::Files))
        cache.remove(name);
}

} // namespace ripper
