#pragma once

// Background play: random tracks of the library played one at a time while nobody has chosen
// music. Whether it is switched on is `library::autoplaymode`. GUI thread only.

namespace jukebox {

// The track now playing is a background track.
inline bool autoplaying = false;

// Resets background play and reads the list of albums it may choose from.
void initautoplay();
// Starts one background track.
void startautoplay();
// Ends background play.
void stopautoplay();

} // namespace jukebox
