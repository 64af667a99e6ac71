#include "fuzzfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

// Both live until the process ends and are never destroyed: libFuzzer leaves through exit(),
// after Qt's own statics are gone. The folder is removed without Qt.
QGuiApplication* application = nullptr;
QString folder;
std::string folderOnDisk;

void removeFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(folderOnDisk, ignored);
}

} // namespace

[[gnu::weak]] void prepareFuzzing() {}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    application = new QGuiApplication(*argc, *argv);
    // In memory where the system offers it: each input is written, read and rewritten as a file,
    // and on a disk the syncs of the program's atomic writes would set the pace.
    const QString memory = QStringLiteral("/dev/shm");
    QTemporaryDir made(QFileInfo(memory).isDir() ? memory + QStringLiteral("/musetra-fuzz-XXXXXX")
                                                 : QDir::tempPath() + QStringLiteral("/musetra-fuzz-XXXXXX"));
    made.setAutoRemove(false);
    folder = made.path();
    folderOnDisk = QFile::encodeName(folder).toStdString();
    std::atexit(removeFolder);
    prepareFuzzing();
    return 0;
}

QString fuzzFolder()
{
    return folder;
}

QString writeFuzzFile(const QString& name, const uint8_t* data, size_t size)
{
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}

std::optional<GrownFile> grownFile(const uint8_t* data, size_t size, qint64 bound)
{
    constexpr size_t kHeader = 6;
    if (size < kHeader || std::memcmp(data, "GROW", 4) != 0) return std::nullopt;
    const auto offset = static_cast<int16_t>(uint16_t(data[4] | data[5] << 8));
    return GrownFile{data + kHeader, size - kHeader, std::max<qint64>(bound + offset, 0)};
}

QString writeGrownFile(const QString& name, const GrownFile& file)
{
    const QString path =
        writeFuzzFile(name, file.head, size_t(std::min<qint64>(qint64(file.headSize), file.size)));
    if (!QFile::resize(path, file.size)) std::abort();
    return path;
}

void require(bool holds, const char* what)
{
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}
