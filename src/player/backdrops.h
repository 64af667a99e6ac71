#pragma once

// The admin backdrop: the built-in "ADMINBACKDROP" picture stretched over the whole screen, shown
// by the jukebox's operator panels. Being screen-sized and seldom seen, it is made when one of
// those panels shows and dropped when none does. GUI thread only.

#include <QImage>

namespace player {

inline QImage bg;

// Makes `bg` at the screen's size when it is missing.
void makeAdminBackdrop();
// Lets `bg` go.
void dropAdminBackdrop();

} // namespace player
