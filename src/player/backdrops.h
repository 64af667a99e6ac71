#pragma once

// The backdrop pictures of the jukebox screens. The player's start-up makes them before the jukebox
// window exists; the jukebox window reads them and remakes `backdrp` and `jbbg` when the theme
// changes. GUI thread only.

#include <QImage>

namespace player {

inline QImage sbg;     // the built-in "ADMINBACKDROP" picture, untinted
inline QImage bg;      // `sbg` stretched over the whole screen
inline QImage backdrp; // the "BACKGROUND" picture in the skin and tint of the theme's background
inline QImage jbbg;    // `backdrp` stretched over the whole screen, made anew at every start-up

} // namespace player
