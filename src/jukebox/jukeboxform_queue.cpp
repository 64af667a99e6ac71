// The queue panel: opening it and its five keys.
// Until this topic is built, each handler leaves everything as it is.

#include "jukebox/jukeboxform.h"

namespace jukebox {

void Tjukebox::goplaylistviewClick(QObject*) {}

void Tjukebox::playlistPlayClick(QObject*) {}

void Tjukebox::playlistPurgeClick(QObject*) {}

void Tjukebox::playlistRemoveClick(QObject*) {}

void Tjukebox::playlistMoveUpClick(QObject*) {}

void Tjukebox::playlistMoveDownClick(QObject*) {}

void Tjukebox::moveitems(bool) {}

void Tjukebox::queuePanelPlayingRow(int) {}

void Tjukebox::connectQueuePanel() {}

} // namespace jukebox
