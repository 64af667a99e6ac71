// The queue panel: opening it and its five keys.
// Until this topic is built, each handler leaves everything as it is.

#include "jukebox/jukeboxform.h"

namespace jukebox {

void Tjukebox::goplaylistviewClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::playlistPlayClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::playlistPurgeClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::playlistRemoveClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::playlistMoveUpClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::playlistMoveDownClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::moveitems(bool up)
{
    (void)up;
}

void Tjukebox::queuePanelPlayingRow(int row)
{
    (void)row;
}

void Tjukebox::connectQueuePanel() {}

} // namespace jukebox
