#pragma once

// The speech unit of the DJ announcements: creates the voice, says texts through it, and silences
// it. Everything that loads, stops or reports a track first silences the voice through
// `killspeech`. GUI thread only.

#include <QString>
#include <functional>

#include "platform/speech.h"

namespace player {

// Creates the speech object and registers the program with it: 0 on success, 1 when there is no
// engine to speak with (no voice data, no audio output). Returns at once: should the engine turn
// out missing afterwards, speech is forgotten and `unavailable` runs on the window thread with why.
int initspeech(std::function<void(platform::SpeechMissing)> unavailable = {});
// Says `text` at `speed` words per minute with `flags` (a style value + the high-priority flag).
// Returns at once: the voice speaks while the program goes on. An engine error is logged and
// swallowed, so an announcement never stops a track from playing. Nothing happens before a
// successful `initspeech`.
void speak(const QString& text, int speed, int flags);
// Silences an announcement still being spoken, so it never runs on over a stop or the next track.
void killspeech();
// The voice's amplitude, what is being said included: 1 as synthesised, 0 silent.
void setspeechvolume(double gain);
// Forgets the speech object (test fixtures).
void resetspeech();

// The draws of the announcements, each a number in [0, 1). Tests install a scripted source; an empty
// function restores the default, which is reseeded from the clock for every announcement.
using UnitRandom = std::function<double()>;
void setdjrandom(UnitRandom source);

} // namespace player
