#include "jukebox/backgroundplay.h"

namespace jukebox {

void initautoplay() {}

void startautoplay() {}

void stopautoplay() {}

} // namespace jukebox
