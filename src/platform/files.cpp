#include "platform/files.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <filesystem>
#include <fcntl.h>
#include <stdio.h>
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

namespace {

// A new file beside `path` named as writeFileAtomically's temporary copies are, holding `data`;
// its name, or nothing when it could not be written.
QString writeTemporaryCopy(const QString& path, const QByteArray& data)
{
    static const QString kLetters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
    constexpr int kTries = 16;
    for (int attempt = 0; attempt < kTries; ++attempt) {
        QString name = path + QLatin1Char('.');
        for (int i = 0; i < 6; ++i)
            name += kLetters.at(QRandomGenerator::global()->bounded(int(kLetters.size())));
        QFile file(name);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (file.exists()) continue;
            return {};
        }
        if (file.write(data) == data.size() && file.flush()) return name;
        file.remove();
        return {};
    }
    return {};
}

} // namespace

void writeNewFilesTogether(const QList<std::pair<QString, QByteArray>>& files)
{
    QList<std::pair<QString, QString>> written; // copy, final name
    for (const auto& [path, data] : files) {
        const QString copy = writeTemporaryCopy(path, data);
        if (!copy.isEmpty()) written.append({copy, path});
    }
    if (written.isEmpty()) return;
    ::sync();
    for (const auto& [copy, path] : written) {
        const QByteArray from = QFile::encodeName(copy);
        const QByteArray to = QFile::encodeName(path);
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) != 0)
            (void)::unlink(from.constData());
    }
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

QString joinPath(const QString& folder, const QString& name)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/'))) return folder + name;
    return folder + QLatin1Char('/') + name;
}

} // namespace platform
