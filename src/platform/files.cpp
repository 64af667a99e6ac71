#include "platform/files.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <mutex>
#include <strings.h>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <utility>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/textcodec.h"

namespace platform {

namespace {

Q_LOGGING_CATEGORY(lcFiles, "musetra.platform.files")

// Appends `name` to `keys` case-folded one character at a time, as QString::compare folds it
// without regard to case: comparing two keys orders their names as that compare does. A run of
// ASCII, the common case, is folded in place without a call per character.
void appendFoldedKey(std::u16string& keys, const QString& name)
{
    const size_t start = keys.size();
    keys.resize(start + size_t(name.size()));
    char16_t* out = keys.data() + start;
    qsizetype i = 0;
    for (; i < name.size() && name.at(i).unicode() < 0x80; ++i) {
        const char16_t c = name.at(i).unicode();
        *out++ = c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
    }
    keys.resize(start + size_t(i));
    for (; i < name.size(); ++i) {
        char32_t c = name.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(name.at(i), name.at(i + 1));
            ++i;
        }
        c = QChar::toCaseFolded(c);
        if (QChar::requiresSurrogates(c)) {
            keys += QChar::highSurrogate(c);
            keys += QChar::lowSurrogate(c);
        } else {
            keys += char16_t(c);
        }
    }
}

// Sorts `items` by the names `nameOf` gives, without regard to case, ties broken by the exact
// name so the order is stable. Each name is folded once, into one buffer for all the keys, and
// each pair of keys is compared once: the sort moves small entries, the items move once at the end.
template<typename T, typename NameOf> void sortInNameOrder(QList<T>& items, NameOf nameOf)
{
    struct Keyed
    {
        qsizetype start;
        qsizetype length;
        qsizetype place;
    };
    std::u16string keys;
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(items.size()));
    for (qsizetype i = 0; i < items.size(); ++i) {
        const auto start = qsizetype(keys.size());
        appendFoldedKey(keys, nameOf(items.at(i)));
        keyed.push_back({start, qsizetype(keys.size()) - start, i});
    }
    const QStringView all(keys);
    std::sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
        const int order = all.sliced(a.start, a.length).compare(all.sliced(b.start, b.length));
        return order != 0 ? order < 0 : nameOf(items.at(a.place)) < nameOf(items.at(b.place));
    });
    QList<T> sorted;
    sorted.reserve(items.size());
    for (const Keyed& entry : keyed)
        sorted.append(std::move(items[entry.place]));
    items = std::move(sorted);
}

bool isRegular(const struct stat& status)
{
    return S_ISREG(status.st_mode);
}

void reportSpecial(const QString& path)
{
    qCWarning(lcFiles) << "not a regular file, treated as missing:" << path;
}

// A temporary copy is named after its file, behind a hidden prefix of the program's own that no
// operator would give a file of theirs: the prefix, the name, a dot and six letters or digits.
const QString kTemporaryPrefix = QStringLiteral(".~musetra.");
constexpr qsizetype kTemporaryLetters = 6;

// The temporary copies' name for `fileName` up to its random letters, cut so that the whole name
// is still a valid file name.
QString temporaryStem(const QString& fileName)
{
    constexpr int kMaxNameBytes = 255;
    const int room = kMaxNameBytes - int(kTemporaryPrefix.size()) - 1 - kTemporaryLetters;
    return kTemporaryPrefix + cutToUtf8Bytes(fileName, room) + QLatin1Char('.');
}

TemporaryLetters& installedTemporaryLetters()
{
    static TemporaryLetters letters;
    return letters;
}

// The letters that end the next temporary copy's name: six letters or digits at random.
QString temporaryLetters()
{
    if (installedTemporaryLetters()) return installedTemporaryLetters()();
    static const QString kLetters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
    QString letters;
    for (int i = 0; i < kTemporaryLetters; ++i)
        letters += kLetters.at(QRandomGenerator::global()->bounded(int(kLetters.size())));
    return letters;
}

DiskFlush& installedDiskFlush()
{
    static DiskFlush flush;
    return flush;
}

// Flushes the open file `fd` to the disk.
bool flushToDisk(int fd)
{
    return installedDiskFlush() ? installedDiskFlush()(fd) : ::fsync(fd) == 0;
}

} // namespace

bool isRegularFile(const QString& path)
{
    struct stat status
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && isRegular(status);
}

bool openRegularFile(QFile& file, const QString& path, QIODevice::OpenMode mode, Links links)
{
    const QByteArray name = QFile::encodeName(path);
    const bool follow = links == Links::Follow;
    struct stat status
    {
    };
    if ((follow ? ::stat(name.constData(), &status) : ::lstat(name.constData(), &status)) != 0) return false;
    if (!isRegular(status)) {
        reportSpecial(path);
        return false;
    }
    // Non-blocking, and checked again once open: the name may have been given to a FIFO (or a
    // link) since.
    const int fd =
        ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (follow ? 0 : O_NOFOLLOW));
    if (fd < 0) return false;
    if (::fstat(fd, &status) != 0 || !isRegular(status)) {
        ::close(fd);
        reportSpecial(path);
        return false;
    }
    if (!file.open(fd, mode | QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

QByteArray readAtMost(QFile& file, qint64 maxBytes)
{
    constexpr qint64 kPiece = 64 * 1024;
    // As much as the file holds now (and one byte more, to see it is too large), then pieces
    // while it grows.
    QByteArray bytes;
    qint64 wanted = std::clamp(file.size() - file.pos(), qint64(0), maxBytes) + 1;
    while (wanted > 0 && !file.atEnd()) {
        const QByteArray piece = file.read(wanted);
        if (piece.isEmpty()) break;
        bytes += piece;
        wanted = std::min(kPiece, maxBytes + 1 - bytes.size());
    }
    return bytes;
}

QString findNoCase(const QString& folder, const QString& name)
{
    if (name.isEmpty()) return {};
    const QString exact = joinPath(folder, name);
    if (QFileInfo::exists(exact)) return exact;
    const QDir dir(folder);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return joinPath(folder, entry);
    }
    return {};
}

QString resolveNoCase(const QString& path)
{
    if (path.isEmpty()) return {};
    if (QFileInfo::exists(path)) return path;
    const QString cleaned = QDir::cleanPath(path);
    const qsizetype cut = cleaned.lastIndexOf(QLatin1Char('/'));
    if (cut < 0) return findNoCase(QStringLiteral("."), cleaned);
    const QString parent = cut == 0 ? QStringLiteral("/") : resolveNoCase(cleaned.left(cut));
    if (parent.isEmpty()) return {};
    return findNoCase(parent, cleaned.mid(cut + 1));
}

QStringList listFolder(const QString& folder, const QStringList& patterns, QDir::Filters filters)
{
    QDir dir(folder);
    dir.setNameFilters(patterns);
    dir.setFilter(filters | QDir::NoDotAndDotDot);
    dir.setSorting(QDir::Unsorted);
    QStringList names = dir.entryList();
    sortInNameOrder(names, [](const QString& name) -> const QString& { return name; });
    return names;
}

namespace {

// Whether `entry` of the folder open as `fd` is a folder (links followed), and in `link` whether it
// is a link; the kind comes with the listing, so only links and unknown kinds are looked up.
bool isSubfolder(int fd, const dirent& entry, bool& link)
{
    link = entry.d_type == DT_LNK;
    if (entry.d_type == DT_DIR) return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
    struct stat status
    {
    };
    if (entry.d_type == DT_UNKNOWN && ::fstatat(fd, entry.d_name, &status, AT_SYMLINK_NOFOLLOW) == 0)
        link = S_ISLNK(status.st_mode);
    return ::fstatat(fd, entry.d_name, &status, 0) == 0 && S_ISDIR(status.st_mode);
}

} // namespace

QList<Subfolder> listSubfolders(const QString& folder, QStringView part, QStringList& undecodable,
                                const QString& lookFor)
{
    QList<Subfolder> found;
    DIR* const dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir) return found;
    const int fd = ::dirfd(dir);
    const std::string inside = '/' + QFile::encodeName(lookFor).toStdString();
    std::string path; // one buffer for every look-up
    struct stat status
    {
    };
    const std::string partBytes = part.toUtf8().toStdString();
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArrayView bytes(entry->d_name);
        // A valid name is matched as it stands, and turned into text only once it is taken.
        const bool valid = bytes.isValidUtf8();
        const bool matches = valid ? std::string_view(entry->d_name).find(partBytes) != std::string_view::npos
                                   : QString::fromUtf8(bytes).contains(part);
        bool link = false;
        if (bytes.startsWith('.') || !matches || !isSubfolder(fd, *entry, link)) continue;
        if (!valid) {
            undecodable.append(decodeText(bytes));
            continue;
        }
        QString name = QString::fromUtf8(bytes);
        // Looked up beside the listing, relative to the folder: no walk of the whole path.
        path.assign(entry->d_name).append(inside);
        const bool holds = !lookFor.isEmpty() && ::fstatat(fd, path.c_str(), &status, 0) == 0;
        found.append({std::move(name), link, holds});
    }
    ::closedir(dir);
    sortInNameOrder(found, [](const Subfolder& subfolder) -> const QString& { return subfolder.name; });
    return found;
}

QStringList foldersStartingWith(const QString& folder, const QString& prefix)
{
    QStringList found;
    DIR* const dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir) return found;
    const QByteArray start = QFile::encodeName(prefix);
    while (const dirent* entry = ::readdir(dir)) {
        if (::strncasecmp(entry->d_name, start.constData(), size_t(start.size())) != 0) continue;
        bool link = false;
        if (isSubfolder(::dirfd(dir), *entry, link) && !link) found.append(QFile::decodeName(entry->d_name));
    }
    ::closedir(dir);
    return found;
}

namespace {

Refusals& installedRefusals()
{
    static Refusals refusals;
    return refusals;
}

bool renamePath(const QString& from, const QString& to, unsigned flags)
{
    if (flags != 0 && installedRefusals().renameFlags) {
        errno = EINVAL;
        return false;
    }
    return ::renameat2(AT_FDCWD, QFile::encodeName(from).constData(), AT_FDCWD,
                       QFile::encodeName(to).constData(), flags) == 0;
}

// Gives the file or link `from` the second name `to`; fails on an existing `to`.
bool linkPath(const QString& from, const QString& to)
{
    if (installedRefusals().hardLinks) {
        errno = EPERM;
        return false;
    }
    return ::linkat(AT_FDCWD, QFile::encodeName(from).constData(), AT_FDCWD,
                    QFile::encodeName(to).constData(), 0) == 0;
}

// Whether `error` says the file system does not know a call or a flag (network, FUSE and FAT-family
// file systems refuse renameat2's flags, and FAT has no hard links), rather than that it failed.
bool refusedByFileSystem(int error)
{
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == EPERM;
}

// Says once a run what the file system refused and which road is taken instead. Any thread.
void reportRefused(const char* what, int error, const char* instead)
{
    static std::mutex mutex;
    static QSet<const char*> reported;
    {
        const std::lock_guard lock(mutex);
        if (reported.contains(what)) return;
        reported.insert(what);
    }
    qCInfo(lcFiles, "the file system refuses %s (%s): %s", what, ::strerror(error), instead);
}

bool isLink(const QString& path)
{
    struct stat status
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISLNK(status.st_mode);
}

void reportLinkInTheWay(const QString& path)
{
    qCWarning(lcFiles) << "cannot write: a link stands at" << path;
}

// Opens `file` as a new file beside `path`, named as removeAtomicWriteLeftovers expects
// (".~musetra.name.XXXXXX"). It is made exclusively, so nothing that stands under its name - a link least of
// all - is written to. False when none could be made.
bool openTemporaryCopy(const QString& path, QFile& file)
{
    constexpr int kTries = 16;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        const qsizetype folderEnd = path.lastIndexOf(QLatin1Char('/')) + 1;
        const QString name = path.left(folderEnd) + temporaryStem(path.mid(folderEnd)) + temporaryLetters();
        file.setFileName(name);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return true;
        if (!file.exists()) return false;
    }
    return false;
}

// Gives the open file `fd` the last-write time `modified`; its last-read time stays.
bool setModified(int fd, const QDateTime& modified)
{
    const qint64 ms = modified.toMSecsSinceEpoch();
    const struct timespec times[2] = {{0, UTIME_OMIT}, {time_t(ms / 1000), long(ms % 1000) * 1000000}};
    return ::futimens(fd, times) == 0;
}

// A temporary copy beside `path` holding `data`, dated `modified` when valid and flushed to disk
// when `durable`; its name, or nothing when it could not be written.
QString writeTemporaryCopy(const QString& path, const QByteArray& data, bool durable,
                           const QDateTime& modified = {})
{
    QFile file;
    if (!openTemporaryCopy(path, file)) return {};
    if (file.write(data) == data.size() && file.flush() &&
        (!modified.isValid() || setModified(file.handle(), modified)) &&
        (!durable || flushToDisk(file.handle())))
        return file.fileName();
    // Removed by name once closed: QFile::remove closes first and gives up when that close cannot
    // flush what is still buffered, as on a full disk, which would leave the copy behind.
    file.close();
    QFile::remove(file.fileName());
    return {};
}

// Whether anything (a link to nothing too) stands at `path`.
bool standsAt(const QString& path)
{
    struct stat status
    {
    };
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

// Gives the temporary `copy` the name `path` without replacing what stands there. Where the file
// system refuses the rename flag that says so, a hard link does it (it fails on an existing name
// too) and the copy's name goes; where there are no hard links either, the name is looked at and
// the copy renamed.
bool renameWithoutReplacing(const QString& copy, const QString& path)
{
    if (renamePath(copy, path, RENAME_NOREPLACE)) return true;
    if (!refusedByFileSystem(errno)) return false;
    reportRefused("renames that keep the file at the new name", errno, "a new file is placed by a hard link");
    if (linkPath(copy, path)) {
        QFile::remove(copy);
        return true;
    }
    if (!refusedByFileSystem(errno)) return false;
    reportRefused("hard links", errno, "a new file is placed by a rename once its name is seen free");
    if (standsAt(path)) {
        errno = EEXIST;
        return false;
    }
    return renamePath(copy, path, 0);
}

// Moves the temporary `copy` to `path` unless something (a link too) stands there already; then
// the copy is dropped, with a log line that says why.
bool placeNewCopy(const QString& copy, const QString& path)
{
    if (renameWithoutReplacing(copy, path)) return true;
    if (errno == EEXIST)
        qCWarning(lcFiles) << "not written: a file, folder or link already stands at" << path;
    else
        qCWarning(lcFiles).noquote() << "not written:" << ::strerror(errno) << path;
    QFile::remove(copy);
    return false;
}

// Copies what is left of `source` into `target`, a piece at a time. False on a read or write error.
bool copyContents(QFile& source, QFile& target)
{
    constexpr qint64 kPiece = 1024 * 1024;
    QByteArray piece(kPiece, Qt::Uninitialized);
    for (;;) {
        const qint64 read = source.read(piece.data(), kPiece);
        if (read <= 0) return read == 0;
        if (target.write(piece.constData(), read) != read) return false;
    }
}

// Gives `copy` the permissions of the regular file at `path`, if one stands there.
void keepPermissions(const QString& path, const QString& copy)
{
    struct stat status
    {
    };
    if (::lstat(QFile::encodeName(path).constData(), &status) == 0 && isRegular(status))
        (void)::chmod(QFile::encodeName(copy).constData(), status.st_mode & 07777);
}

} // namespace

bool writeFileAtomically(const QString& path, const QByteArray& data, const QDateTime& modified)
{
    if (isLink(path)) {
        reportLinkInTheWay(path);
        return false;
    }
    const QString copy = writeTemporaryCopy(path, data, true, modified);
    if (copy.isEmpty()) return false;
    keepPermissions(path, copy);
    // A rename replaces a link that appeared meanwhile rather than writing where it leads.
    if (renamePath(copy, path, 0)) return true;
    QFile::remove(copy);
    return false;
}

bool openFileForWriting(QFile& file, const QString& path, QIODevice::OpenMode mode)
{
    int flags = O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    if (mode.testFlag(QIODevice::Append)) flags |= O_APPEND;
    if (mode.testFlag(QIODevice::Truncate)) flags |= O_TRUNC;
    if (!mode.testFlag(QIODevice::ExistingOnly)) flags |= O_CREAT;
    const int fd = ::open(QFile::encodeName(path).constData(), flags, 0666);
    if (fd < 0) {
        if (errno == ELOOP) reportLinkInTheWay(path);
        return false;
    }
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !isRegular(status)) {
        ::close(fd);
        qCWarning(lcFiles) << "cannot write: not a regular file:" << path;
        return false;
    }
    const QIODevice::OpenMode kept = mode & (QIODevice::Append | QIODevice::Unbuffered);
    if (!file.open(fd, QIODevice::WriteOnly | kept, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

bool appendWhole(const QString& path, const QByteArray& line, QIODevice::OpenMode mode)
{
    // Unbuffered: what the write takes is on the file when it returns, and nothing is left in a
    // buffer to be written after the cut.
    QFile file;
    if (!openFileForWriting(file, path, mode | QIODevice::Unbuffered)) return false;
    const qint64 before = file.size();
    if (file.write(line) == line.size()) return true;
    if (::ftruncate(file.handle(), before) != 0)
        qCWarning(lcFiles) << "a part of a line stays at the end of" << path << "after a failed write";
    return false;
}

void writeNewFilesTogether(const QList<std::pair<QString, QByteArray>>& files)
{
    QList<std::pair<QString, QString>> written; // copy, final name
    for (const auto& [path, data] : files) {
        const QString copy = writeTemporaryCopy(path, data, false);
        if (!copy.isEmpty()) written.append({copy, path});
    }
    if (written.isEmpty()) return;
    ::sync();
    for (const auto& [copy, path] : written)
        (void)placeNewCopy(copy, path);
}

bool copyFileAsNew(const QString& from, const QString& to)
{
    QFile source;
    if (!openRegularFile(source, from)) return false;
    QFile copy;
    if (!openTemporaryCopy(to, copy)) return false;
    const bool written = copyContents(source, copy) && copy.flush() && flushToDisk(copy.handle());
    copy.close();
    if (written) return placeNewCopy(copy.fileName(), to);
    copy.remove();
    return false;
}

namespace {

// Whether `name` is a temporary copy whose name begins with `stem`: the stem and six letters or
// digits, for a copy of one file; after the prefix, any name, a dot and the six, for any copy.
bool isTemporaryCopy(const QString& name, const QString& stem)
{
    const bool ofAnyFile = stem == kTemporaryPrefix;
    const qsizetype letters = name.size() - kTemporaryLetters;
    return name.startsWith(stem) &&
           (ofAnyFile ? letters > stem.size() + 1 && name.at(letters - 1) == QLatin1Char('.')
                      : letters == stem.size()) &&
           std::all_of(name.cend() - kTemporaryLetters, name.cend(),
                       [](QChar c) { return c.unicode() < 128 && c.isLetterOrNumber(); });
}

void removeCopiesStartingWith(const QDir& folder, const QString& stem)
{
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (isTemporaryCopy(name, stem)) QFile::remove(folder.filePath(name));
    }
}

} // namespace

void removeAtomicWriteLeftovers(const QString& path)
{
    const QFileInfo file(path);
    removeCopiesStartingWith(file.absoluteDir(), temporaryStem(file.fileName()));
}

void removeTemporaryCopies(const QString& folder)
{
    removeCopiesStartingWith(QDir(folder), kTemporaryPrefix);
}

namespace {

// Flushes the folder `path` to the disk, which makes its entries durable. O_DIRECTORY refuses
// anything else before it is opened.
void syncFolder(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Flushes `path` to the disk when it is a regular file. A link is not followed and nothing else
// is opened: opening a FIFO, socket or device could wait without end or act on the device.
void syncRegularFile(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status
    {
    };
    if (::lstat(name.constData(), &status) != 0 || !isRegular(status)) return;
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return;
    if (::fstat(fd, &status) == 0 && isRegular(status)) ::fsync(fd);
    ::close(fd);
}

} // namespace

bool linkTree(const QString& from, const QString& to)
{
    const QFileInfo entry(from);
    if (!entry.isDir() || entry.isSymLink()) return linkPath(from, to);
    if (!QDir().mkdir(to)) return false;
    const QStringList names =
        QDir(from).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    return std::all_of(names.begin(), names.end(), [&](const QString& name) {
        return linkTree(joinPath(from, name), joinPath(to, name));
    });
}

namespace {

MoveStep& installedMoveStep()
{
    static MoveStep step;
    return step;
}

// Lets a test end the program as step `step` of a move begins (negative: no step of its own).
void reachStep(int step)
{
    if (step >= 0 && installedMoveStep()) installedMoveStep()(step);
}

// The entries of the folder `path`, hidden ones too.
QStringList entriesOf(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// Renames the folder `from` to `to` (which must be free), the `step`th step of a move a test may
// stop at, and sees that every entry came along: a FAT disk through FUSE has been seen to rename a
// folder and leave it empty. Where one is missing, an empty `to` goes again and false is returned.
bool renameFolderWhole(const QString& from, const QString& to, int step)
{
    reachStep(step);
    QStringList names = entriesOf(from);
    if (!renamePath(from, to, 0)) return false;
    // Listed anew rather than looked up one by one: the kernel may still hold the old entries.
    QStringList arrived = entriesOf(to);
    names.sort();
    arrived.sort();
    if (arrived == names) return true;
    qCWarning(lcFiles) << "the file system lost the files of a folder it renamed:" << from << "to" << to;
    (void)::rmdir(QFile::encodeName(to).constData());
    return false;
}

// Puts the folder `from` in the place of the existing `to` where the file system cannot swap them
// in one rename: the old one goes to `aside`, then the new one to `to`. The new one has gone to
// `aside` and back first, so a file system that loses a folder's files on a rename loses a copy,
// never the old folder.
bool moveFolderThroughAside(const QString& from, const QString& to, const QString& aside)
{
    if (!renameFolderWhole(from, aside, 0) || !renameFolderWhole(aside, from, 1)) return false;
    if (!renameFolderWhole(to, aside, 2)) return false;
    if (renameFolderWhole(from, to, 3)) {
        reachStep(4);
        return true;
    }
    (void)renameFolderWhole(aside, to, -1);
    return false;
}

} // namespace

bool moveFolderInto(const QString& from, const QString& to, const QString& aside)
{
    for (const QString& name : QDir(from).entryList(QDir::Files | QDir::Hidden | QDir::System))
        syncRegularFile(joinPath(from, name));
    syncFolder(from);
    bool moved = false;
    if (!standsAt(to)) {
        moved = renameFolderWhole(from, to, 0);
    } else if (renamePath(from, to, RENAME_EXCHANGE)) {
        moved = true;
    } else if (refusedByFileSystem(errno)) {
        reportRefused("renames that swap two folders", errno,
                      "an album is replaced through a folder put aside");
        moved = moveFolderThroughAside(from, to, aside);
    }
    if (moved) syncFolder(QFileInfo(to).absolutePath());
    return moved;
}

QString ownCacheFolder(QString& refusal)
{
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (!QDir::isAbsolutePath(base)) base = joinPath(QDir::homePath(), QStringLiteral(".cache"));
    const QString folder = joinPath(base, QStringLiteral("musetra"));
    const QByteArray name = QFile::encodeName(folder);
    (void)QDir().mkpath(base);
    const int made = ::mkdir(name.constData(), 0700);
    const int madeError = errno;
    struct stat status
    {
    };
    const bool found = ::lstat(name.constData(), &status) == 0;
    if (!found)
        refusal = QStringLiteral("it cannot be made: ") + qt_error_string(made != 0 ? madeError : errno);
    else if (S_ISLNK(status.st_mode))
        refusal = QStringLiteral("a link stands there");
    else if (!S_ISDIR(status.st_mode))
        refusal = QStringLiteral("something other than a folder stands there");
    else if (status.st_uid != ::geteuid())
        refusal = QStringLiteral("it belongs to another user");
    else
        refusal.clear();
    if (!refusal.isEmpty()) {
        qCWarning(lcFiles) << "the cache folder is not the user's own, not used:" << folder;
        refusal = QStringLiteral("The cache folder %1 is not used: %2").arg(folder, refusal);
        return {};
    }
    if ((status.st_mode & 077) != 0) (void)::chmod(name.constData(), 0700);
    return folder;
}

QString folderProblem(const QString& folder)
{
    // A file named with a closing "/" is not found at all; without it, it is told for what it is.
    QString bare = folder;
    while (bare.size() > 1 && bare.endsWith(QLatin1Char('/')))
        bare.chop(1);
    const QByteArray name = QFile::encodeName(bare);
    struct stat status
    {
    };
    if (::stat(name.constData(), &status) != 0)
        return errno == ENOENT ? QStringLiteral("does not exist")
                               : QStringLiteral("cannot be reached: ") + qt_error_string(errno);
    if (S_ISREG(status.st_mode)) return QStringLiteral("is a file, not a folder");
    if (S_ISFIFO(status.st_mode)) return QStringLiteral("is a pipe (FIFO), not a folder");
    if (!S_ISDIR(status.st_mode)) return QStringLiteral("is not a folder");
    DIR* const dir = ::opendir(name.constData());
    if (!dir) return QStringLiteral("cannot be read: ") + qt_error_string(errno);
    ::closedir(dir);
    // Listed but not entered, its album folders could not be told from files.
    if (::access(name.constData(), X_OK) != 0)
        return QStringLiteral("cannot be read: ") + qt_error_string(errno);
    return {};
}

QString folderWriteProblem(const QString& folder)
{
    const QString problem = folderProblem(folder);
    if (!problem.isEmpty()) return problem;
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) != 0)
        return QStringLiteral("cannot be written to: ") + qt_error_string(errno);
    return {};
}

void setTemporaryLetters(TemporaryLetters letters)
{
    installedTemporaryLetters() = std::move(letters);
}

void setDiskFlush(DiskFlush flush)
{
    installedDiskFlush() = std::move(flush);
}

void setRefusals(Refusals refusals)
{
    installedRefusals() = refusals;
}

void setMoveStep(MoveStep step)
{
    installedMoveStep() = std::move(step);
}

QString joinPath(const QString& folder, const QString& name)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/'))) return folder + name;
    return folder + QLatin1Char('/') + name;
}

} // namespace platform
