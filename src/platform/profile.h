#pragma once

// One settings file in the classic "[section]" / "key=value" layout, read and written one key at
// a time with the rules settings files from the Windows program rely on: section and key names
// are compared without regard to case, a missing key gives the caller's default text, values are
// trimmed and lose one pair of enclosing quotes, a value ends at its first zero character and is
// at most 1024 characters long, and every line the program does not change is written back byte
// for byte. The file is read once, at the first read or write, each line as UTF-8 when valid,
// else as Windows-1252; lines end at LF or CR LF (a lone CR belongs to its line). Lines the
// program writes are UTF-8 and keep their line end; new ones take the file's first line end.
// Something other than a regular file, or a file beyond kMaxFileBytes, is not read and never
// written over, and no write makes the file pass kMaxFileBytes (it is refused, the old file kept). Every
// write replaces the file atomically; a batch collects writes and replaces it once. A profile made from text
// in memory reads and writes that text alone, with no file. Not thread-safe: one owner on one thread.

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <utility>

namespace platform {

class Profile
{
public:
    // Longest value a read returns, in characters.
    static constexpr qsizetype kMaxValueLength = 1024;
    // Largest settings file read; real ones are a few kilobytes.
    static constexpr qsizetype kMaxFileBytes = 4 * 1024 * 1024;

    explicit Profile(const QString& path);
    // Reads and writes `text` as if it were the file's content, without touching any file.
    static std::unique_ptr<Profile> fromText(const QByteArray& text);

    const QString& path() const { return path_; }
    // The text as the file would be written now; empty when the file could not be read.
    QByteArray text() const;

    // The value of `key` in `section`, or `defaultValue` when the file, section or key is missing.
    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    // Names of the keys of `section` in file order (first spelling of each); empty when it is missing.
    QStringList keys(const QString& section) const;
    // True when `section` holds `key`.
    bool contains(const QString& section, const QString& key) const;

    // Sets `key` in `section`, making both when missing. CR and LF are left out of the value, and
    // it ends at its first zero character. False when the file could not be read or written;
    // the file on disk is then unchanged.
    [[nodiscard]] bool writeString(const QString& section, const QString& key, const QString& value);
    // Removes `key` from `section`; true when the file holds no such key afterwards.
    [[nodiscard]] bool removeKey(const QString& section, const QString& key);

    // From here until commitBatch, writes change the text in memory only and reads see them.
    void beginBatch();
    // Replaces the file once with everything written since beginBatch. False when the file could
    // not be read at the start of the batch or could not be written; the old file then stays.
    [[nodiscard]] bool commitBatch();

private:
    // One line of the file: its text, the key it names (null when none), and the bytes it was
    // read as (null once the program changed it) with its line end, both within read_.
    struct Line
    {
        QString text;
        QString key;
        QByteArrayView bytes;
        QByteArrayView end;
    };
    // The lines from one header up to the next (the first section holds the lines before the
    // first header), with the first line of each key by case-folded name, made at the first
    // look-up.
    struct Section
    {
        QString name; // null before the first header
        QList<Line> lines;
        QHash<QString, qsizetype> keyLines;
        bool indexed = false;
    };

    // Reads the file into sections_ at the first call; a missing file is an empty one. False
    // when it exists but cannot be read.
    bool load() const;
    // Reads the file into read_; a missing file is an empty one. False when it is no regular
    // file, is too large or cannot be read.
    bool readFile() const;
    void addLines(QByteArrayView bytes) const;
    void addSection(const QString& name) const;
    Section& appendSection(const QString& section);
    bool save() const;
    bool change(const QString& section, const QString& key, const QString* value);
    // The first section named `section`, or null.
    Section* findSection(const QString& section) const;
    // The line of the first `key` in `section`, or -1.
    qsizetype findKey(Section& section, const QString& key) const;
    Line newLine(const QString& text) const;

    QString path_;
    mutable QList<Section> sections_;
    mutable QHash<QString, qsizetype> sectionIndex_; // first section of each case-folded name
    mutable std::optional<std::pair<QString, qsizetype>> lastSection_; // name asked, index or -1
    mutable QByteArray read_;                                          // the file as read
    mutable QByteArrayView lineEnd_ = "\n";                            // for new lines
    mutable bool loaded_ = false;
    mutable bool readable_ = true;
    bool inMemory_ = false;
    bool batching_ = false;
};

} // namespace platform
