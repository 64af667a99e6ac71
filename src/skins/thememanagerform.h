#pragma once

// The theme manager, where the operator restyles the jukebox. GUI thread only.

namespace skins {

// Opens the theme manager and returns when it is closed. The window itself is not built yet:
// until then nothing opens.
void gothemes();

} // namespace skins
