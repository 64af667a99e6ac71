#pragma once

// The speech unit of the DJ announcements. Everything that loads, stops or reports a track first
// silences the voice through `killspeech`. GUI thread only.

namespace player {

// Stops any announcement in progress. Announcements are short and spoken at high priority, so
// nothing is cut off: this is deliberately empty, and callers may call it freely.
void killspeech();

} // namespace player
