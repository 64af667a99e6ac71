#pragma once

// The backdrop pictures of the jukebox screens. Start-up makes them before the jukebox window
// exists; the jukebox window reads them. GUI thread only.

#include <QImage>

namespace jukebox {

// Only the pictures at the screen's size are kept: their decoded originals, several megabytes
// each, would be held twice for nothing.
inline QImage bg;   // the built-in "ADMINBACKDROP" picture, untinted, stretched over the whole screen
inline QImage jbbg; // the "BACKGROUND" picture in the skin and tint of the theme's background, stretched
                    // over the whole screen, made anew at every start-up

} // namespace jukebox
