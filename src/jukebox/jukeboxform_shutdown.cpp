// Leaving the jukebox (the shutdown button) and files dropped on the two album pages.
// Until this topic is built, each handler leaves everything as it is.

#include "jukebox/jukeboxform.h"

namespace jukebox {

void Tjukebox::ShutdownbutClick(QObject*) {}

bool Tjukebox::TopPanelWindowProc(QEvent*)
{
    return false;
}

bool Tjukebox::BotPanelWindowProc(QEvent*)
{
    return false;
}

void Tjukebox::TopPanelFileDrop(QDropEvent*) {}

void Tjukebox::BotPanelFileDrop(QDropEvent*) {}

void Tjukebox::handledroppedfile(QDropEvent*, QWidget*) {}

} // namespace jukebox
