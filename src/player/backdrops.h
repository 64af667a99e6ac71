#pragma once

// The admin backdrop: the built-in "ADMINBACKDROP" picture stretched over the whole screen, made by
// the player's start-up as soon as the windows have shown (null until then); the jukebox's operator
// panels show it.
// GUI thread only.

#include <QImage>

namespace player {

inline QImage bg;

} // namespace player
