#include "pewriter.h"

#include <QBuffer>
#include <QMap>
#include <QtEndian>

namespace {

constexpr uint32_t kFileAlignment = 0x200;
constexpr uint16_t kRtBitmap = 2, kRtRcdata = 10;

void put16(QByteArray& bytes, qsizetype at, uint16_t value)
{
    qToLittleEndian<uint16_t>(value, bytes.data() + at);
}

void put32(QByteArray& bytes, qsizetype at, uint32_t value)
{
    qToLittleEndian<uint32_t>(value, bytes.data() + at);
}

uint32_t alignUp(uint32_t value, uint32_t to)
{
    return (value + to - 1) / to * to;
}

} // namespace

void PeWriter::add(uint16_t type, const QString& name, const QByteArray& data)
{
    entries_.append({type, name.toUpper(), data});
}

QByteArray PeWriter::build()
{
    // Types, then names within each type, in the order a resource compiler sorts them.
    QMap<uint16_t, QVector<int>> byType;
    for (int i = 0; i < entries_.size(); ++i)
        byType[entries_[i].type].append(i);

    const int types = int(byType.size());
    const int names = int(entries_.size());
    // Directory sizes: root, one per type, one language directory per name.
    const uint32_t rootSize = 16 + 8 * types;
    uint32_t typeDirs = 0;
    for (const auto& list : byType)
        typeDirs += 16 + 8 * uint32_t(list.size());
    const uint32_t langDirs = uint32_t(names) * (16 + 8);
    const uint32_t dataEntriesAt = rootSize + typeDirs + langDirs;
    uint32_t stringsAt = dataEntriesAt + 16 * uint32_t(names);
    uint32_t stringsSize = 0;
    for (const Entry& e : entries_)
        if (!e.name.startsWith(QLatin1Char('#'))) stringsSize += 2 + 2 * uint32_t(e.name.size());
    uint32_t dataAt = alignUp(stringsAt + stringsSize, 4);
    uint32_t sectionSize = dataAt;
    for (const Entry& e : entries_)
        sectionSize = alignUp(sectionSize + uint32_t(e.data.size()), 4);

    QByteArray section(alignUp(sectionSize, kFileAlignment), '\0');
    layout_.typeEntries.clear();
    layout_.dataEntries = QVector<qsizetype>(names, 0);
    put16(section, 14, uint16_t(types));
    uint32_t nextDir = rootSize, nextLang = rootSize + typeDirs, nextString = stringsAt, nextData = dataAt;
    int typeIndex = 0;
    for (auto it = byType.cbegin(); it != byType.cend(); ++it, ++typeIndex) {
        const uint32_t entry = 16 + 8 * uint32_t(typeIndex);
        layout_.typeEntries.append(entry);
        put32(section, entry, it.key());
        put32(section, entry + 4, 0x80000000u | nextDir);
        const uint32_t dir = nextDir;
        nextDir += 16 + 8 * uint32_t(it.value().size());
        int namedCount = 0;
        for (int index : it.value())
            namedCount += entries_[index].name.startsWith(QLatin1Char('#')) ? 0 : 1;
        put16(section, dir + 12, uint16_t(namedCount));
        put16(section, dir + 14, uint16_t(it.value().size() - namedCount));
        for (int n = 0; n < it.value().size(); ++n) {
            const int index = it.value()[n];
            const Entry& e = entries_[index];
            const uint32_t nameEntry = dir + 16 + 8 * uint32_t(n);
            if (e.name.startsWith(QLatin1Char('#'))) {
                put32(section, nameEntry, e.name.mid(1).toUInt());
            } else {
                put32(section, nameEntry, 0x80000000u | nextString);
                put16(section, nextString, uint16_t(e.name.size()));
                for (int c = 0; c < e.name.size(); ++c)
                    put16(section, nextString + 2 + 2 * c, e.name[c].unicode());
                nextString += 2 + 2 * uint32_t(e.name.size());
            }
            put32(section, nameEntry + 4, 0x80000000u | nextLang);
            // The language directory: one entry, language 1033 (US English).
            put16(section, nextLang + 14, 1);
            put32(section, nextLang + 16, 1033);
            const uint32_t dataEntry = dataEntriesAt + 16 * uint32_t(index);
            put32(section, nextLang + 20, dataEntry);
            nextLang += 16 + 8;
            put32(section, dataEntry, kSectionRva + nextData);
            put32(section, dataEntry + 4, uint32_t(e.data.size()));
            section.replace(nextData, e.data.size(), e.data);
            layout_.dataEntries[index] = dataEntry;
            nextData = alignUp(nextData + uint32_t(e.data.size()), 4);
        }
    }

    // Headers: DOS stub, PE signature, file header, 32-bit optional header, one section header.
    constexpr qsizetype kPe = 0x40, kOptional = kPe + 24, kOptionalSize = 224;
    QByteArray file(kFileAlignment, '\0');
    file[0] = 'M';
    file[1] = 'Z';
    put32(file, 0x3C, kPe);
    file.replace(kPe, 4, QByteArray("PE\0\0", 4));
    put16(file, kPe + 4, 0x14C); // i386
    put16(file, kPe + 6, 1);     // one section
    put16(file, kPe + 20, kOptionalSize);
    put16(file, kPe + 22, 0x2102); // executable, 32-bit, library
    put16(file, kOptional, 0x10B);
    put32(file, kOptional + 28, 0x10000000); // image base
    put32(file, kOptional + 32, 0x1000);     // section alignment
    put32(file, kOptional + 36, kFileAlignment);
    put32(file, kOptional + 56, kSectionRva + alignUp(sectionSize, 0x1000)); // image size
    put32(file, kOptional + 60, kFileAlignment);                             // header size
    put16(file, kOptional + 68, 2);                                          // GUI subsystem
    put32(file, kOptional + 92, 16);                                         // data directories
    layout_.resourceDirectoryEntry = kOptional + 96 + 2 * 8;
    put32(file, layout_.resourceDirectoryEntry, kSectionRva);
    put32(file, layout_.resourceDirectoryEntry + 4, sectionSize);
    layout_.sectionTable = kOptional + kOptionalSize;
    file.replace(layout_.sectionTable, 6, QByteArray(".rsrc\0", 6));
    put32(file, layout_.sectionTable + 8, sectionSize);
    put32(file, layout_.sectionTable + 12, kSectionRva);
    put32(file, layout_.sectionTable + 16, uint32_t(section.size()));
    put32(file, layout_.sectionTable + 20, kFileAlignment);
    put32(file, layout_.sectionTable + 36, 0x40000040); // initialised data, readable
    layout_.resourceSection = file.size();
    for (qsizetype& entry : layout_.typeEntries)
        entry += layout_.resourceSection;
    for (qsizetype& entry : layout_.dataEntries)
        entry += layout_.resourceSection;
    return file + section;
}

QByteArray dibFromImage(const QImage& image)
{
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP");
    return bmp.mid(14);
}

QByteArray makeSkinFile(const QVector<QPair<QString, QImage>>& bitmaps, const QByteArray& backgroundJpeg,
                        const QByteArray& info)
{
    PeWriter writer;
    for (const auto& [name, image] : bitmaps)
        writer.add(kRtBitmap, name, dibFromImage(image));
    if (!backgroundJpeg.isEmpty()) writer.add(kRtRcdata, QStringLiteral("BACKGROUND"), backgroundJpeg);
    if (!info.isEmpty()) writer.add(kRtRcdata, QStringLiteral("INFO"), info);
    return writer.build();
}
