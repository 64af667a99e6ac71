#pragma once

// The settings file "Musetra.ini": `tinifile` reads and writes one key of one section at a time,
// `readini` fills the settings record and the word lists from it, `writeini` writes them back.
// GUI thread only.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

namespace platform {
class Profile;
}

namespace library {

// The leading number of a settings value: blanks before it are skipped, a "+" or "-" sign is
// allowed, "$" or "0x" introduces hexadecimal digits, and reading stops at the first character
// that is not a digit (no digit at all gives 0). Decimal numbers beyond the range are clamped;
// hexadecimal ones that fit in the width wrap as two's complement ("$FFFFFFFF" is -1).
int32_t settingsInteger(const QString& text);
int64_t settingsInteger64(const QString& text);

class tinifile
{
public:
    tinifile();
    // Reads and writes `text` in memory instead of a file; inipath stays empty.
    explicit tinifile(const QByteArray& text);
    ~tinifile();
    tinifile(const tinifile&) = delete;
    tinifile& operator=(const tinifile&) = delete;

    QString inipath; // full name of the settings file
    QString section; // section of every read and write until it is changed

    int writeppstring(const QString& key, const QString& value);
    int writeppbool(const QString& key, bool value);
    int writeppinteger(const QString& key, int32_t value);
    int writeppint64(const QString& key, int64_t value);
    // Reads give the key's text, or `def` when it is missing; numbers are read by settingsInteger
    // and any number other than 0 is a true Boolean.
    QString readppstring(const QString& key, const QString& def);
    int32_t readppinteger(const QString& key, const QString& def);
    int64_t readppint64(const QString& key, const QString& def);
    bool readppbool(const QString& key, const QString& def);

    // Names of the keys of the current section, in file order.
    QStringList keys();
    // True when the current section holds `key`.
    bool haskey(const QString& key);
    void removekey(const QString& key);

    // Writes after beginbatch stay in memory until commitbatch replaces the file once.
    void beginbatch();
    [[nodiscard]] bool commitbatch();

    // The settings text as it would be written now.
    QByteArray text();

private:
    platform::Profile& profile();

    std::unique_ptr<platform::Profile> profile_;
};

// Fills `config`, the word lists, `cachepath`, `cached`, `SLOWPROCESSOR`, `autoplaymode` and the
// stored filter from the settings file. A missing file shows its message and halts the program.
bool readini();

// Writes the settings back into the settings file, all keys in one atomic replacement.
void writeini();

// What readini and writeini do with the keys, on whatever `ini` holds (no AltINI, no checks of
// the file): fills the settings from it, or writes them into it in one batch (false when the
// file could not be replaced).
void readSettings(tinifile& ini);
[[nodiscard]] bool writeSettings(tinifile& ini);

} // namespace library
