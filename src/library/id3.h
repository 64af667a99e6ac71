#pragma once

// ID3 tags of MP3 files: the version 1 block (the last 128 bytes) is read and written; when a file
// has none, the text frames of the version 2 tag at the start of the file are read instead.
// Plain functions without shared state: the encoder thread calls them as well as the GUI thread.

#include <QString>
#include <array>
#include <cstdint>

class QIODevice;

namespace library {

// One tag; the title is in `track`, made one line as it is read (oneLineTitle).
struct tid3tag
{
    QString field; // the marker read; writing always stores "TAG"
    QString track;
    QString artist;
    QString album;
    QString year;
    QString comments;
    QString genre;       // the genre's name
    int32_t trackno = 0; // read only, never written
};

// The genre names of the version 1 genre numbers 0 to 147.
inline constexpr int kID3GenreCount = 148;
extern const std::array<const char*, kID3GenreCount> ID3Genre;

// Fills `tag` from the file's version 1 block, else from its version 2 text frames; a file that is
// missing or cannot be read leaves every field empty and `trackno` 0.
void readtag(const QString& filename, tid3tag& tag);

// The same from an open device.
void readtag(QIODevice& file, tid3tag& tag);

// Writes the version 1 block over the file's existing one, or appends one. False when the file
// cannot be opened for writing or not all 128 bytes were written.
[[nodiscard]] bool writetag(const QString& filename, const tid3tag& tag);

// True when the 128th byte from the end of the open `file` starts "TAG" in any case.
[[nodiscard]] bool checkvalidtag(QIODevice& file);

// Fills `tag` from the text frames of the version 2 tag at the start of the file.
void readversion2tag(const QString& filename, tid3tag& tag);

} // namespace library
