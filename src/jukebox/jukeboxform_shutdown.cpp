// Leaving the jukebox (the shutdown button) and files dropped on the two album pages.
// Until this topic is built, each handler leaves everything as it is.

#include "jukebox/jukeboxform.h"

namespace jukebox {

void Tjukebox::ShutdownbutClick(QObject* Sender)
{
    (void)Sender;
}

bool Tjukebox::TopPanelWindowProc(QEvent* Msg)
{
    (void)Msg;
    return false;
}

bool Tjukebox::BotPanelWindowProc(QEvent* Msg)
{
    (void)Msg;
    return false;
}

void Tjukebox::TopPanelFileDrop(QDropEvent* Msg)
{
    (void)Msg;
}

void Tjukebox::BotPanelFileDrop(QDropEvent* Msg)
{
    (void)Msg;
}

void Tjukebox::handledroppedfile(QDropEvent* Msg, QWidget* receiver)
{
    (void)Msg;
    (void)receiver;
}

} // namespace jukebox
