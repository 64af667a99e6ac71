#pragma once

// One settings file in the classic "[section]" / "key=value" layout, read and written one key at
// a time with the rules settings files from the Windows program rely on: section and key names
// are compared without regard to case, a missing key gives the caller's default text, values are
// trimmed and lose one pair of enclosing quotes, a value ends at its first zero character and is
// at most 1024 characters long, and every line the program does not know survives a write.
// The file is read as UTF-8 when valid, else as Windows-1252, and written as UTF-8 with LF line
// ends. Every write replaces the file atomically; a batch collects writes and replaces it once.
// Not thread-safe: one owner on one thread.

#include <QString>
#include <QStringList>

namespace platform {

class Profile
{
public:
    // Longest value a read returns, in characters.
    static constexpr qsizetype kMaxValueLength = 1024;

    explicit Profile(const QString& path);

    const QString& path() const { return path_; }

    // The value of `key` in `section`, or `defaultValue` when the file, section or key is missing.
    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    // Names of the keys of `section` in file order (first spelling of each); empty when it is missing.
    QStringList keys(const QString& section) const;

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
    // Reads the file into lines_; a missing file is an empty one. False when it exists but
    // cannot be read.
    bool load() const;
    bool save() const;
    bool change(const QString& section, const QString& key, const QString* value);
    qsizetype findSection(const QString& section) const;
    qsizetype findKey(qsizetype sectionLine, const QString& key) const;
    qsizetype sectionEnd(qsizetype sectionLine) const;

    QString path_;
    mutable QStringList lines_;
    mutable bool readable_ = true;
    bool batching_ = false;
};

} // namespace platform
