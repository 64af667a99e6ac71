#pragma once

// The backdrop pictures of the jukebox screens. Start-up makes them before the jukebox window
// exists; the jukebox window reads them. GUI thread only.

#include <QImage>

namespace jukebox {

inline QImage sbg;     // the built-in "ADMINBACKDROP" picture, untinted
inline QImage bg;      // `sbg` stretched over the whole screen
inline QImage backdrp; // the "BACKGROUND" picture in the skin and tint of the theme's background
inline QImage jbbg;    // `backdrp` stretched over the whole screen, made anew at every start-up

} // namespace jukebox
