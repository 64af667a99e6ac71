#include "platform/peresources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSet>
#include <QtEndian>

#include "platform/files.h"
#include "platform/programfolder.h"

namespace platform {

namespace {

Q_LOGGING_CATEGORY(lcPe, "musetra.platform.pe")

constexpr qint64 kMaxFileSize = 64ll * 1024 * 1024;
constexpr int kMaxSections = 96;
constexpr quint64 kMaxDibPixels = 64ull * 1024 * 1024;

// Reads little-endian values at checked positions of a byte range.
class Reader
{
public:
    Reader(const QByteArray& bytes, quint64 begin, quint64 size) : bytes_(bytes), begin_(begin), size_(size)
    {
    }

    quint64 size() const { return size_; }
    bool fits(quint64 offset, quint64 length) const { return offset <= size_ && length <= size_ - offset; }

    std::optional<uint16_t> u16(quint64 offset) const
    {
        if (!fits(offset, 2)) return std::nullopt;
        return qFromLittleEndian<uint16_t>(bytes_.constData() + begin_ + offset);
    }
    std::optional<uint32_t> u32(quint64 offset) const
    {
        if (!fits(offset, 4)) return std::nullopt;
        return qFromLittleEndian<uint32_t>(bytes_.constData() + begin_ + offset);
    }
    std::optional<int32_t> i32(quint64 offset) const
    {
        const auto value = u32(offset);
        if (!value) return std::nullopt;
        return int32_t(*value);
    }

private:
    const QByteArray& bytes_;
    quint64 begin_;
    quint64 size_;
};

struct Section
{
    uint32_t virtualAddress;
    uint32_t mappedSize; // bytes of the section that come from the file
    uint32_t fileOffset;
};

} // namespace

// Walks the headers and the resource tree of one file; the first inconsistency ends the walk.
class PeParser
{
public:
    explicit PeParser(const QByteArray& file) : file_(file), whole_(file, 0, quint64(file.size())) {}

    bool run(QHash<PeResources::Key, QByteArray>& entries)
    {
        return readHeaders() && readResourceTree(entries);
    }
    const QString& error() const { return error_; }

private:
    bool fail(const QString& why)
    {
        error_ = why;
        return false;
    }

    bool readHeaders()
    {
        if (file_.size() < 64 || file_[0] != 'M' || file_[1] != 'Z')
            return fail(QStringLiteral("no DOS header"));
        const uint32_t pe = *whole_.u32(0x3C);
        if (!whole_.fits(pe, 24) || file_.mid(pe, 4) != QByteArray("PE\0\0", 4))
            return fail(QStringLiteral("no PE signature"));
        const uint16_t sectionCount = *whole_.u16(pe + 6);
        const uint16_t optionalSize = *whole_.u16(pe + 20);
        const quint64 optional = quint64(pe) + 24;
        const auto magic = whole_.u16(optional);
        if (!magic || (*magic != 0x10B && *magic != 0x20B))
            return fail(QStringLiteral("unknown optional header"));
        const quint64 countAt = optional + (*magic == 0x10B ? 92 : 108);
        const quint64 directories = countAt + 4;
        const auto directoryCount = whole_.u32(countAt);
        if (!directoryCount || *directoryCount < 3 || directories + 3 * 8 > optional + optionalSize ||
            !whole_.fits(directories, 3 * 8))
            return fail(QStringLiteral("no resource directory entry"));
        resourceRva_ = *whole_.u32(directories + 16);
        resourceSize_ = *whole_.u32(directories + 20);
        if (sectionCount > kMaxSections) return fail(QStringLiteral("too many sections"));
        return readSections(optional + optionalSize, sectionCount);
    }

    bool readSections(quint64 table, int count)
    {
        for (int i = 0; i < count; ++i) {
            const quint64 at = table + quint64(i) * 40;
            if (!whole_.fits(at, 40)) return fail(QStringLiteral("section table outside the file"));
            const uint32_t virtualSize = *whole_.u32(at + 8);
            const uint32_t rawSize = *whole_.u32(at + 16);
            const uint32_t rawOffset = *whole_.u32(at + 20);
            if (rawSize != 0 && !whole_.fits(rawOffset, rawSize))
                return fail(QStringLiteral("section data outside the file"));
            const uint32_t mapped = virtualSize != 0 ? std::min(virtualSize, rawSize) : rawSize;
            sections_.push_back({*whole_.u32(at + 12), mapped, rawOffset});
        }
        return true;
    }

    // The file offset of the `size` bytes at `rva`, when they all come from one section.
    std::optional<quint64> fileOffset(uint32_t rva, uint32_t size) const
    {
        for (const Section& s : sections_) {
            if (rva < s.virtualAddress) continue;
            const quint64 inside = quint64(rva) - s.virtualAddress;
            if (inside <= s.mappedSize && size <= s.mappedSize - inside) return s.fileOffset + inside;
        }
        return std::nullopt;
    }

    bool readResourceTree(QHash<PeResources::Key, QByteArray>& entries)
    {
        if (resourceRva_ == 0 || resourceSize_ == 0) return true; // a library without resources
        const auto base = fileOffset(resourceRva_, resourceSize_);
        if (!base) return fail(QStringLiteral("resource directory outside the file"));
        Reader tree(file_, *base, resourceSize_);
        tree_ = &tree;
        uint32_t count = 0;
        const auto types = directory(0, count);
        if (!types) return false;
        for (uint32_t i = 0; i < count; ++i) {
            const quint64 entry = *types + quint64(i) * 8;
            const uint32_t nameField = *tree.u32(entry);
            if (nameField & 0x80000000u) continue; // named types: none of ours
            if (!readType(uint16_t(nameField & 0xFFFF), *tree.u32(entry + 4), entries)) return false;
        }
        return true;
    }

    // The first entry of the directory at `offset`; `count` takes its number of entries.
    std::optional<quint64> directory(uint32_t offset, uint32_t& count)
    {
        if (visited_.contains(offset)) {
            fail(QStringLiteral("resource directory loops back on itself"));
            return std::nullopt;
        }
        visited_.insert(offset);
        const auto named = tree_->u16(quint64(offset) + 12);
        const auto ids = tree_->u16(quint64(offset) + 14);
        if (!named || !ids) {
            fail(QStringLiteral("resource directory outside its section"));
            return std::nullopt;
        }
        count = uint32_t(*named) + *ids;
        if (!tree_->fits(quint64(offset) + 16, quint64(count) * 8)) {
            fail(QStringLiteral("resource directory entries outside their section"));
            return std::nullopt;
        }
        return quint64(offset) + 16;
    }

    bool readType(uint16_t type, uint32_t dataField, QHash<PeResources::Key, QByteArray>& entries)
    {
        if (!(dataField & 0x80000000u)) return fail(QStringLiteral("resource type without a directory"));
        uint32_t count = 0;
        const auto names = directory(dataField & 0x7FFFFFFFu, count);
        if (!names) return false;
        for (uint32_t i = 0; i < count; ++i) {
            const quint64 entry = *names + quint64(i) * 8;
            const auto name = entryName(*tree_->u32(entry));
            if (!name) return false;
            const auto data = firstLanguage(*tree_->u32(entry + 4));
            if (!data) return false;
            const PeResources::Key key{type, *name};
            if (!entries.contains(key)) entries.insert(key, *data);
        }
        return true;
    }

    std::optional<QString> entryName(uint32_t nameField)
    {
        if (!(nameField & 0x80000000u)) return QStringLiteral("#%1").arg(nameField & 0xFFFF);
        const quint64 at = nameField & 0x7FFFFFFFu;
        const auto length = tree_->u16(at);
        if (!length || !tree_->fits(at + 2, quint64(*length) * 2)) {
            fail(QStringLiteral("resource name outside its section"));
            return std::nullopt;
        }
        QString name(*length, Qt::Uninitialized);
        for (uint16_t i = 0; i < *length; ++i)
            name[i] = QChar(*tree_->u16(at + 2 + quint64(i) * 2));
        return name.toUpper();
    }

    // The bytes of the first language of a resource name.
    std::optional<QByteArray> firstLanguage(uint32_t dataField)
    {
        if (!(dataField & 0x80000000u)) {
            fail(QStringLiteral("resource name without a language directory"));
            return std::nullopt;
        }
        uint32_t count = 0;
        const auto languages = directory(dataField & 0x7FFFFFFFu, count);
        if (!languages) return std::nullopt;
        if (count == 0) {
            fail(QStringLiteral("resource without a language"));
            return std::nullopt;
        }
        const uint32_t leaf = *tree_->u32(*languages + 4);
        if (leaf & 0x80000000u) {
            fail(QStringLiteral("resource directory nested too deep"));
            return std::nullopt;
        }
        const auto rva = tree_->u32(leaf);
        const auto size = tree_->u32(quint64(leaf) + 4);
        if (!rva || !size) {
            fail(QStringLiteral("resource data entry outside its section"));
            return std::nullopt;
        }
        const auto offset = fileOffset(*rva, *size);
        if (!offset) {
            fail(QStringLiteral("resource data outside the file"));
            return std::nullopt;
        }
        return file_.mid(qsizetype(*offset), qsizetype(*size));
    }

    const QByteArray& file_;
    Reader whole_;
    const Reader* tree_ = nullptr;
    QVector<Section> sections_;
    QSet<uint32_t> visited_;
    uint32_t resourceRva_ = 0;
    uint32_t resourceSize_ = 0;
    QString error_;
};

std::unique_ptr<PeResources> PeResources::open(const QString& path, QString* error)
{
    QFile file;
    QString why;
    if (!openRegularFile(file, path))
        why = QStringLiteral("not a readable file");
    else if (file.size() > kMaxFileSize)
        why = QStringLiteral("file too large");
    if (!why.isEmpty()) {
        qCWarning(lcPe) << "skin file" << path << "refused:" << why;
        if (error) *error = why;
        return nullptr;
    }
    QString parseError;
    auto result = parse(file.readAll(), &parseError);
    if (!result) {
        qCWarning(lcPe) << "skin file" << path << "refused:" << parseError;
        if (error) *error = parseError;
    }
    return result;
}

std::unique_ptr<PeResources> PeResources::parse(const QByteArray& file, QString* error)
{
    std::unique_ptr<PeResources> result(new PeResources);
    PeParser parser(file);
    if (!parser.run(result->entries_)) {
        if (error) *error = parser.error();
        return nullptr;
    }
    return result;
}

std::optional<QByteArray> PeResources::find(uint16_t type, const QString& name) const
{
    const auto it = entries_.constFind(Key{type, name.toUpper()});
    if (it == entries_.constEnd()) return std::nullopt;
    return *it;
}

QImage PeResources::bitmap(const QString& name) const
{
    const auto dib = find(RT_BITMAP, name);
    if (!dib) return {};
    QImage image = imageFromDib(*dib);
    if (image.isNull()) qCWarning(lcPe) << "bitmap resource" << name << "is damaged";
    return image;
}

namespace {

// The offset of the pixels in a DIB, or nothing when the header does not add up.
std::optional<quint64> dibPixelOffset(const Reader& dib)
{
    const uint32_t headerSize = dib.u32(0).value_or(0);
    quint64 width = 0, height = 0, bitCount = 0, colours = 0, entrySize = 4, masks = 0, compression = 0;
    if (headerSize == 12) {
        if (!dib.fits(0, 12)) return std::nullopt;
        width = *dib.u16(4);
        height = *dib.u16(6);
        bitCount = *dib.u16(10);
        entrySize = 3;
        colours = bitCount <= 8 ? 1u << bitCount : 0;
    } else if (headerSize >= 40 && dib.fits(0, headerSize)) {
        const int32_t w = *dib.i32(4), h = *dib.i32(8);
        if (w <= 0 || h == 0 || h == INT32_MIN) return std::nullopt;
        width = quint64(w);
        height = quint64(h < 0 ? -qint64(h) : h);
        bitCount = *dib.u16(14);
        compression = *dib.u32(16);
        const uint32_t used = *dib.u32(32);
        colours = used != 0 ? used : (bitCount <= 8 ? 1u << bitCount : 0);
        if (bitCount <= 8 && colours > (1u << bitCount)) return std::nullopt;
        if (colours > 256) return std::nullopt;
        if (compression == 3 && headerSize == 40) masks = 12;
        if (compression > 3) return std::nullopt;
    } else {
        return std::nullopt;
    }
    if (width == 0 || height == 0 || width * height > kMaxDibPixels) return std::nullopt;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return std::nullopt;
    const quint64 pixels = headerSize + masks + colours * entrySize;
    const bool runLength = compression == 1 || compression == 2;
    const quint64 stride = (width * bitCount + 31) / 32 * 4;
    if (!dib.fits(pixels, runLength ? 1 : stride * height)) return std::nullopt;
    return pixels;
}

} // namespace

QImage imageFromDib(const QByteArray& dib)
{
    const Reader reader(dib, 0, quint64(dib.size()));
    const auto pixels = dibPixelOffset(reader);
    if (!pixels) return {};
    // A DIB is a .bmp file without its 14-byte file header: put one in front and let Qt decode it.
    QByteArray file(14, '\0');
    file[0] = 'B';
    file[1] = 'M';
    qToLittleEndian<uint32_t>(uint32_t(14 + dib.size()), file.data() + 2);
    qToLittleEndian<uint32_t>(uint32_t(14 + *pixels), file.data() + 10);
    file += dib;
    QImage image = QImage::fromData(file, "BMP");
    if (image.isNull()) return {};
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    return image;
}

QStringList libraryFolders()
{
    return {programFolder(), QDir::currentPath()};
}

QString findLibraryFile(const QString& fileName)
{
    if (fileName.isEmpty()) return {};
    if (fileName.contains(QLatin1Char('/')) || fileName.contains(QLatin1Char('\\'))) {
        qCWarning(lcPe) << "library name" << fileName << "refused: it holds a path separator";
        return {};
    }
    const QStringList folders = libraryFolders();
    for (const QString& folder : folders) {
        const QString path = findNoCase(folder, fileName);
        if (!path.isEmpty() && QFileInfo(path).isFile()) return path;
    }
    return {};
}

} // namespace platform
