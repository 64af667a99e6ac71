#pragma once

// File-system helpers that give Linux the behaviour the program expects of its file names:
// names are found without regard to case, folders list in case-insensitive name order,
// and files rewritten in place are replaced atomically.

#include <QDateTime>
#include <QDir>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>

class QByteArray;
class QFile;

namespace platform {

// Whether a link standing at a name is followed to its target or refused as missing.
enum class Links { Follow, Refuse };

// Opens `file` on `path` for reading when `path` names a regular file (links followed unless
// `links` refuses them). Anything else - a FIFO, a device, a socket, a folder - is treated as
// missing, with a log line, so that neither opening nor reading it can block or run without end.
// `mode` may add Unbuffered. False when not opened.
[[nodiscard]] bool openRegularFile(QFile& file, const QString& path,
                                   QIODevice::OpenMode mode = QIODevice::ReadOnly,
                                   Links links = Links::Follow);

// Up to `maxBytes` + 1 bytes of `file` from where it stands, read in pieces so that the memory
// taken follows what the file holds rather than the limit; more than `maxBytes` means too large.
QByteArray readAtMost(QFile& file, qint64 maxBytes);

// True when `path` names a regular file (links followed); nothing is opened.
bool isRegularFile(const QString& path);

// `name` inside `folder`: the exact spelling when it exists, else the first entry whose name
// matches without regard to case; empty when there is none.
QString findNoCase(const QString& folder, const QString& name);

// A whole path with every component looked up as findNoCase does; empty when a component is missing.
QString resolveNoCase(const QString& path);

// Entries of `folder` matching the wildcard `patterns` (case-insensitive), in case-insensitive
// name order (ties broken by the exact name, so the order is stable).
QStringList listFolder(const QString& folder, const QStringList& patterns, QDir::Filters filters);

// A folder found by listSubfolders; `link` when it is a symbolic link to a folder, `holds` when it
// holds an entry of the name looked for (exactly as spelled).
struct Subfolder
{
    QString name;
    bool link = false;
    bool holds = false;
};

// The folders in `folder` (links to folders among them) whose names contain `part`, hidden ones
// left out, in listFolder's order; read in one pass, with the kind of each entry as the listing
// gives it, so a plain folder costs no look-up of its own. Names that are not valid UTF-8 go to
// `undecodable` instead, shown as Windows-1252: no path made from a name Qt could give would
// reach them. With `lookFor`, each folder is looked into for an entry of that name, relative to
// the listed folder.
QList<Subfolder> listSubfolders(const QString& folder, QStringView part, QStringList& undecodable,
                                const QString& lookFor = {});

// The folders in `folder` (not links to folders) whose names begin with `prefix` (ASCII, any case),
// hidden ones among them, unsorted; read in one pass as listSubfolders reads.
QStringList foldersStartingWith(const QString& folder, const QString& prefix);

// Writes `data` to a temporary file beside `path`, flushes it to disk and renames it over `path`:
// a crash leaves either the old file or the new one, never a mixture. The file lands in the folder
// of `path` and nowhere else: a link standing at `path` is never followed but refused, with a log
// line. A valid `modified` is the new file's last-write time, set before it takes the name.
// False on any failure.
[[nodiscard]] bool writeFileAtomically(const QString& path, const QByteArray& data,
                                       const QDateTime& modified = {});

// Opens `file` on `path` for writing, appending or truncating as `mode` asks, and creating the
// file unless `mode` holds ExistingOnly. Never through a link (refused with a log line), and only
// on a regular file: a FIFO or a device in its place is left alone, so the open can neither
// block nor write where it should not. False when not opened.
[[nodiscard]] bool openFileForWriting(QFile& file, const QString& path, QIODevice::OpenMode mode);

// Appends `line` to the file `path` (made when missing, opened as openFileForWriting opens it)
// whole or not at all: when the disk takes only part of it, the file is cut back to the length it
// had, so the next line still starts a line of its own. False when not appended.
[[nodiscard]] bool appendWhole(const QString& path, const QByteArray& line);

// Writes files that do not exist yet, with one flush to disk for all of them: each is written to a
// temporary file beside it (".~musetra.name.XXXXXX"), the file system is synced once, then each is moved
// into place, unless a file (or link) of its name appeared meanwhile (that one is kept and the
// copy dropped, with a log line). A crash leaves no half-written file under a final name. Any thread.
void writeNewFilesTogether(const QList<std::pair<QString, QByteArray>>& files);

// Copies the regular file `from` (a FIFO or device is refused) to `to`, which must not exist: the
// copy is written beside `to` under a temporary name, flushed to disk and renamed into place
// without replacing anything, so a crash leaves no half-written `to` and a link standing at `to` is
// neither followed nor replaced. False on any failure, with nothing left behind. Where the file
// system refuses the rename flag that keeps what stands at a name, the copy takes its name by a
// hard link (this and writeNewFilesTogether); where it has no hard links either, by a rename once
// the name is seen free.
[[nodiscard]] bool copyFileAsNew(const QString& from, const QString& to);

// Removes the temporary copies that writeFileAtomically and copyFileAsNew leave beside `path` when
// the program is killed between writing one and renaming it (".~musetra.name.XXXXXX", a prefix
// of the program's own): an operator's "name.backup" or "name.orig42" is never touched. Called
// when a file is first used in a run, or before it is made anew.
void removeAtomicWriteLeftovers(const QString& path);

// Removes every such temporary copy that stands in `folder`, whichever file it was made for.
void removeTemporaryCopies(const QString& folder);

// Gives the file, link or folder `from` a second name `to` without copying: folders are made anew
// and everything in them is hard-linked, links as links (never followed). Both must be on one file
// system. False when anything could not be linked (a file system without hard links).
[[nodiscard]] bool linkTree(const QString& from, const QString& to);

// Puts the folder `from` at `to` in one step, once every file in it is on the disk: a crash
// leaves either the old `to` or the whole new one. An existing `to` (a link to nothing too) is
// swapped with `from` (the old folder is then at `from`). Where the file system cannot swap in one
// step, the old one is first renamed to `aside` (free, its folder made), where it stays: a crash
// before the new one stands at `to` leaves `to` empty, for the caller's next start to put the old
// one back. All must be on one file system. False when nothing was
// moved, and when a rename lost the folder's files (a FAT disk through FUSE does): then the old
// `to` stays and no empty folder is left there. Only regular files are opened to be flushed,
// never through a link.
[[nodiscard]] bool moveFolderInto(const QString& from, const QString& to, const QString& aside);

// Flushes an open file, given by its descriptor, to the disk; true when it is there.
using DiskFlush = std::function<bool(int fd)>;

// Replaces the flush (fsync) that every temporary copy gets before it is renamed into place, so a
// test can see what reaches the disk before it replaces the old file; empty restores fsync.
void setDiskFlush(DiskFlush flush);

// What the file system is made to refuse, for a test: renameat2's flags (RENAME_NOREPLACE,
// RENAME_EXCHANGE), as network, FUSE and FAT-family file systems refuse them, and hard links, as
// FAT has none.
struct Refusals
{
    bool renameFlags = false;
    bool hardLinks = false;
};

// Makes every later call refuse what `refusals` names, as such a file system would; {} ends it.
void setRefusals(Refusals refusals);

// Called with the number of the step (from 0) before each rename of moveFolderInto, and after the
// last where it takes more than one, so a test can end the program between two of them as a kill
// would; empty for none.
using MoveStep = std::function<void(int step)>;
void setMoveStep(MoveStep step);

// The program's cache folder of the user's own: "musetra" in $XDG_CACHE_HOME (else ~/.cache), made
// with owner-only rights when missing, and opened to nobody else when found open. Empty, with a
// log line and the operator's words in `refusal` (which name the folder and why), when what stands
// there is no folder the user owns (a link, another user's folder) or none can be made: a folder
// others can plant files in is never used.
QString ownCacheFolder(QString& refusal);

// Why `folder` cannot be listed, in the operator's words ("does not exist", "is a file, not a
// folder", "cannot be read: Permission denied"); empty when it is a folder that can be.
QString folderProblem(const QString& folder);

// Why no file can be made in `folder`, in the operator's words; empty when nothing speaks against it.
QString folderWriteProblem(const QString& folder);

// Gives the six letters or digits that end the next temporary copy's name.
using TemporaryLetters = std::function<QString()>;

// Replaces the random choice of those letters, so a test can plant something under the name a
// copy will take; empty restores it.
void setTemporaryLetters(TemporaryLetters letters);

// `folder` + "/" + `name`, whether or not `folder` already ends in a separator.
QString joinPath(const QString& folder, const QString& name);

} // namespace platform
