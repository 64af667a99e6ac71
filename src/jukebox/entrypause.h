#pragma once

// The pause after each step of number entry. The window keeps answering while it waits: pending
// events are processed, timers tick and the screen repaints. Tests install a pause of their own
// (usually one that returns at once). GUI thread only.

#include <functional>

namespace jukebox {

// Waits `ms` milliseconds (0 or less: only the pending events) while events are processed.
// False once the program is ending: its event loops no longer run, so no timer a caller waits for
// will fire, and a caller that waits in a loop must stop.
bool entrypause(int ms);
// Runs the window's events for `ms` milliseconds; false at once when the program is ending.
// The real pause; modal waits use it too, so a stop ends them.
bool runevents(int ms);
// Installs another pause; an empty function restores the real one.
void setentrypause(std::function<void(int)> pause);

} // namespace jukebox
