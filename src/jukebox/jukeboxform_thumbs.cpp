// The cover thumbnails of the thumbnail panel as albums come and go.
// Until this topic is built, each handler leaves everything as it is.

#include "jukebox/jukeboxform.h"

namespace jukebox {

void Tjukebox::addthumbnail(const QString&, int) {}

void Tjukebox::deletethumbnail(int) {}

} // namespace jukebox
