#pragma once

// The backdrop pictures of the jukebox screens, stretched over the whole screen: the admin backdrop
// made by start-up before the jukebox window exists, the jukebox's own by the window's layout.
// GUI thread only.

#include <QImage>

namespace jukebox {

inline QImage bg;   // the built-in "ADMINBACKDROP" picture, untinted
inline QImage jbbg; // the "BACKGROUND" picture in the skin and tint of the theme's background

} // namespace jukebox
