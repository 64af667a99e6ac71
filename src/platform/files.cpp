#include "platform/files.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

#include "platform/textcodec.h"

namespace platform {

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
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int order = a.compare(b, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    });
    return names;
}

QStringList undecodableNames(const QString& folder)
{
    QStringList names;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(QFile::encodeName(folder).toStdString(), error)) {
        const std::string raw = entry.path().filename().native();
        const QByteArray bytes(raw.data(), qsizetype(raw.size()));
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString decoded = utf8.decode(bytes); // decodes (and finds errors) only when converted
        if (utf8.hasError()) names.append(decodeText(bytes));
    }
    return names;
}

bool writeFileAtomically(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(data) != data.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    // QSaveFile renames without syncing: make the data durable before the rename.
    if (::fsync(file.handle()) != 0) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void removeAtomicWriteLeftovers(const QString& path)
{
    const QFileInfo file(path);
    // QSaveFile's temporary copy is the file's own name and six letters or digits.
    const QRegularExpression leftover(QRegularExpression::anchoredPattern(
        QRegularExpression::escape(file.fileName()) + QStringLiteral("\\.[A-Za-z0-9]{6}")));
    const QDir folder = file.absoluteDir();
    for (const QString& name : folder.entryList({file.fileName() + QStringLiteral(".??????")}, QDir::Files)) {
        if (leftover.match(name).hasMatch()) QFile::remove(folder.filePath(name));
    }
}

namespace {

// Flushes the file or folder `path` to the disk; a folder's flush makes its entries durable.
void syncToDisk(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

bool renamePath(const QString& from, const QString& to, unsigned flags)
{
    return ::renameat2(AT_FDCWD, QFile::encodeName(from).constData(), AT_FDCWD,
                       QFile::encodeName(to).constData(), flags) == 0;
}

} // namespace

bool moveFolderInto(const QString& from, const QString& to)
{
    for (const QString& name : QDir(from).entryList(QDir::Files | QDir::Hidden | QDir::System))
        syncToDisk(joinPath(from, name));
    syncToDisk(from);
    bool moved = false;
    if (!QFileInfo::exists(to)) {
        moved = renamePath(from, to, 0);
    } else if (renamePath(from, to, RENAME_EXCHANGE)) {
        moved = true;
    } else if (errno == EINVAL || errno == ENOSYS) {
        const QString aside = from + QStringLiteral(".old");
        if (renamePath(to, aside, 0)) {
            moved = renamePath(from, to, 0);
            (void)renamePath(aside, moved ? from : to, 0);
        }
    }
    if (moved) syncToDisk(QFileInfo(to).absolutePath());
    return moved;
}

QString joinPath(const QString& folder, const QString& name)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/'))) return folder + name;
    return folder + QLatin1Char('/') + name;
}

} // namespace platform
