// Background play on the jukebox: its check box, the play and rest cycle and the volume fade.
// Until this topic is built, each handler leaves everything as it is.

#include "jukebox/jukeboxform.h"

namespace jukebox {

void Tjukebox::autoplaycbClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::BackGroundTimerTimer(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::dofade() {}

void Tjukebox::FadeTimerTimer(QObject* Sender)
{
    (void)Sender;
}

uint32_t Tjukebox::getvol() const
{
    return 0;
}

void Tjukebox::setvol(uint32_t v)
{
    (void)v;
}

} // namespace jukebox
