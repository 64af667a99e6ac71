#pragma once

// The arithmetic of the album pages and the prism, apart from any window: which album stands on
// which page panel or prism face, how a page number is kept valid, the search key of the letter
// jump and the rows of an album's track list. Album numbers are those of the jukebox's padded
// album list (1-based; with an odd album count the last slot is the filler album).
// Plain functions; GUI thread (they read the album list and files only as asked).

#include <QChar>
#include <QString>
#include <QVector>
#include <array>
#include <cstdint>

#include "view3d/prismview.h"

namespace jukebox {

// The albums of the eight page panels around the upper page `num`, in the order of their covers
// cd1 .. cd8: num, num + 1 .. num + 5 (each passing `count` going round to 1), then the page
// before: num - 2 (below 1 becoming count - 1) and the album after it.
std::array<int, 8> pageAlbums(int num, int count);

// `n` as the upper album of a valid page among `count` slots: at least 1, at most the last page,
// and odd. 1 when there are no albums.
int pageOf(int n, int count);

// One face of the prism to fill with an album.
struct PrismFill
{
    int face = 0;
    int album = 0;
    bool operator==(const PrismFill&) const = default;
};

// The faces the prism needs filled around album `n` among `albums` real albums (the filler slot
// never shows): mode 0 the face in front and its two neighbours, mode 1 the face behind with the
// album two before, mode -1 the face behind with the album two after. Numbers go round within
// 1..albums, so no empty slot is ever asked for. None without albums.
QVector<PrismFill> prismFills(int n, int mode, const view3d::TCubePositions& positions, int albums);

// `s` without its first "the " (any case), the text before and after it joined by a blank.
QString removethe(const QString& s);
// The letter-jump key of an album row: in capitals, without a leading "The ", trimmed.
QString letterKey(const QString& row);

// The rows of the "title.dat" in `folder`: every line counts as a track, and each line that is not
// blank becomes a row carrying its own line number as track number. None without a readable file.
QVector<view3d::TitleRow> readTitleRows(const QString& folder, int32_t album);

} // namespace jukebox
