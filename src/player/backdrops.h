#pragma once

// The admin backdrop: the built-in "ADMINBACKDROP" picture stretched over the whole screen, made by
// the player's start-up before the jukebox window exists; the jukebox's operator panel shows it.
// GUI thread only.

#include <QImage>

namespace player {

inline QImage bg;

} // namespace player
