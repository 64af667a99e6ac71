#include "ripper/albumstaging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "library/global.h"
#include "platform/files.h"
#include "ripper/albumfiles.h"

namespace ripper {

namespace {

// Hidden, and without the "__" of an album folder: the scan passes it by.
const QString kStagingRoot = QStringLiteral(".incoming");
// The PCM files of the tracks being extracted.
const QString kPcmFiles = QStringLiteral("track*.tmp");
// The hidden folders deleted albums go into, with one rename, before their files are removed.
const QString kDeletedAlbums = QStringLiteral(".deleting-");

QString stagingroot()
{
    return platform::joinPath(library::config.path, kStagingRoot);
}

// Moves the entries of the replaced album `old` that `album` has no counterpart of into `album`,
// tracks apart: they would stand beside a title list that does not name them.
void keepextras(const QString& old, const QString& album)
{
    const QStringList tracks = trackfiles(old);
    for (const QString& name : QDir(old).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (tracks.contains(name) || !platform::findNoCase(album, name).isEmpty()) continue;
        QDir().rename(platform::joinPath(old, name), platform::joinPath(album, name));
    }
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

bool moveintolibrary(const QString& albumpath)
{
    const QString staged = stagingfolder(albumpath);
    const QString album = platform::joinPath(library::config.path, albumpath);
    if (!platform::moveFolderInto(staged, album)) return false;
    // The replaced album, if any, is now where the new one was staged.
    if (QFileInfo::exists(staged)) keepextras(staged, album);
    dropstaging(albumpath);
    return true;
}

void dropstaging(const QString& albumpath)
{
    if (library::config.path.isEmpty() || albumpath.isEmpty()) return;
    QDir(stagingfolder(albumpath)).removeRecursively();
}

QString deletionaside()
{
    return platform::joinPath(library::config.path, kDeletedAlbums + QStringLiteral("XXXXXX"));
}

void sweepinterrupted()
{
    if (!library::config.path.isEmpty()) {
        QDir(stagingroot()).removeRecursively();
        // Removing a folder takes links inside it without what they point at.
        const QDir root(library::config.path);
        for (const QString& name : root.entryList({kDeletedAlbums + u'*'}, QDir::Dirs | QDir::Hidden))
            QDir(root.filePath(name)).removeRecursively();
    }
    if (library::cachepath.isEmpty()) return;
    QDir cache(library::cachepath);
    for (const QString& name : cache.entryList({kPcmFiles}, QDir::Files))
        cache.remove(name);
}

} // namespace ripper
