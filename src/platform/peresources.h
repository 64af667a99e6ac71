#pragma once

// The resources of a skin file. A skin file ("*.skn") is a resource-only Windows library; we
// read it as data and never execute or map it: the PE headers, the section table and the
// resource directory (type, name, first language). Every offset and size is checked against
// the file before it is used, so a damaged or hostile file is refused with a log line and
// never crashes the program. Objects are immutable after `open`; any thread may read them.

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>

namespace platform {

// Resource types we read.
constexpr uint16_t RT_BITMAP = 2;
constexpr uint16_t RT_RCDATA = 10;

class PeResources
{
public:
    // Reads the file at `path`; null (with `error` set when given) when it is not a readable
    // PE file with a sound resource directory.
    static std::unique_ptr<PeResources> open(const QString& path, QString* error = nullptr);
    // The same for the bytes of a file already in memory.
    static std::unique_ptr<PeResources> parse(const QByteArray& file, QString* error = nullptr);

    // The bytes of resource `name` of `type` (first language); names are compared without
    // regard to case, "#123" names the numeric identifier 123. Nothing when absent.
    std::optional<QByteArray> find(uint16_t type, const QString& name) const;

    // The bitmap resource `name` (a device-independent bitmap without its file header) as a
    // picture; a null picture when absent or when its header or pixels do not add up.
    QImage bitmap(const QString& name) const;

    // Number of resources found (every type).
    int count() const { return int(entries_.size()); }

private:
    PeResources() = default;

    struct Key
    {
        uint16_t type;
        QString name; // upper case, or "#<id>"
        bool operator==(const Key&) const = default;
    };
    friend size_t qHash(const Key& key, size_t seed) { return qHashMulti(seed, key.type, key.name); }

    QHash<Key, QByteArray> entries_;
    friend class PeParser;
};

// The file `fileName` as the program looks for a data-only library: first in the program's
// folder, then in the current folder, each time without regard to case. Names holding a path
// separator are refused. Empty when not found.
QString findLibraryFile(const QString& fileName);
// The folders findLibraryFile looks in, in its order.
QStringList libraryFolders();

// A device-independent bitmap (BITMAPINFOHEADER or BITMAPCOREHEADER, palette, pixels) as a
// picture; null when the header is inconsistent with the data.
QImage imageFromDib(const QByteArray& dib);

} // namespace platform
