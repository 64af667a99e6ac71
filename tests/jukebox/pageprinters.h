#pragma once

// GoogleTest printers for the values of the album pages.

#include <ostream>

#include "jukebox/albumpages.h"

namespace view3d {

inline void PrintTo(const TitleRow& row, std::ostream* os)
{
    *os << '{' << row.text.toStdString() << ", " << row.album << ", " << row.track << '}';
}

} // namespace view3d

namespace jukebox {

inline void PrintTo(const PrismFill& fill, std::ostream* os)
{
    *os << "{face " << fill.face << ", album " << fill.album << '}';
}

} // namespace jukebox
