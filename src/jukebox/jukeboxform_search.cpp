// The search panel's corner picture.
// Until this topic is built, each handler leaves everything as it is.

#include "jukebox/jukeboxform.h"

namespace jukebox {

void Tjukebox::panel_searchbut_imageClick(QObject*) {}

} // namespace jukebox
