#pragma once

// Builds small resource-only 32-bit Windows libraries (skin files) in memory, the way a
// resource linker lays them out: headers, one ".rsrc" section, a type / name / language tree.
// The layout is reported, so tests can damage chosen fields.

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QVector>
#include <cstdint>

class PeWriter
{
public:
    // File offsets of parts of the last file built.
    struct Layout
    {
        qsizetype lfanew = 0x3C;              // the offset of the PE header
        qsizetype sectionTable = 0;           // the first section header
        qsizetype resourceDirectoryEntry = 0; // data directory 2 (RVA, size)
        qsizetype resourceSection = 0;        // the root resource directory
        QVector<qsizetype> typeEntries;       // the root directory's entries
        QVector<qsizetype> dataEntries;       // one IMAGE_RESOURCE_DATA_ENTRY per resource, in add order
    };

    // `name` "#<n>" gives the numeric identifier n.
    void add(uint16_t type, const QString& name, const QByteArray& data);
    QByteArray build();
    const Layout& layout() const { return layout_; }

    static constexpr uint32_t kSectionRva = 0x1000;

private:
    struct Entry
    {
        uint16_t type;
        QString name;
        QByteArray data;
    };
    QVector<Entry> entries_;
    Layout layout_;
};

// `image` as a device-independent bitmap (a .bmp file without its 14-byte file header).
QByteArray dibFromImage(const QImage& image);

// A skin file holding bitmaps (name, picture), optionally "BACKGROUND" as JPEG data and "INFO" text.
QByteArray makeSkinFile(const QVector<QPair<QString, QImage>>& bitmaps, const QByteArray& backgroundJpeg = {},
                        const QByteArray& info = {});
