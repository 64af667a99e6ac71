#include "player/olespeech.h"

namespace player {

void killspeech() {}

} // namespace player
