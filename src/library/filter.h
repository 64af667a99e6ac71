#pragma once

// The album filter: a selection of albums by genre, artist, keyword, record label, compilation
// flags and year and decade ranges. It is kept in the settings file in its byte form; nothing
// applies it to the album list yet. GUI thread only.

#include <QByteArray>
#include <QStringList>
#include <cstdint>

namespace library {

struct tfilterstrings
{
    QStringList data;
    int32_t count = 0; // entries of data in use; -1 marks an absent list
    bool operator==(const tfilterstrings&) const = default;
};

struct tfilter
{
    tfilterstrings genre;
    tfilterstrings artist;
    tfilterstrings keywords;
    tfilterstrings recordlabel;
    bool excludecompilations = false;
    bool excludenoncompilations = false;
    int32_t yearlower = 0;
    int32_t yearupper = 0;
    int32_t decadelower = 0;
    int32_t decadeupper = 0;
    bool operator==(const tfilter&) const = default;
};

inline tfilter filter;

// The byte form: a 34-byte header of eight big-endian 32-bit numbers (the four list counts, then
// yearlower, yearupper, decadelower, decadeupper) and two flag bytes, then for each list in turn
// its first `count` strings, each a big-endian 32-bit length and that many bytes of UTF-8.
void tfiltertobytearray(const tfilter& f, QByteArray& bytes);

// Reads the byte form into `f`. A list whose count is negative keeps the strings `f` had.
// Counts and lengths are checked against the bytes that remain: a byte form that is cut short
// or announces more than it holds leaves `f` as the empty filter and gives false.
[[nodiscard]] bool bytearraytofilter(const QByteArray& bytes, tfilter& f);

// The values start-up gives `filter`: all four lists absent, both flags off, no lower bounds.
void resetfilter();

} // namespace library
