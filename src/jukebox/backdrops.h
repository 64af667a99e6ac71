#pragma once

// The jukebox's backdrop: the "BACKGROUND" picture in the skin and tint of the theme's background,
// stretched over the whole screen by the window's layout, in the screen's own format; the pictures
// of the window's columns share its pixels. GUI thread only.

#include <QImage>

namespace jukebox {

inline QImage jbbg;

} // namespace jukebox
