// Keys of the jukebox window, the application-wide event hook and the keyboard-light show.
// Until this topic is built, each handler leaves everything as it is.

#include "jukebox/jukeboxform.h"

namespace jukebox {

void Tjukebox::FormKeydown(QObject* Sender, uint16_t& Key, Qt::KeyboardModifiers Shift)
{
    (void)Sender;
    (void)Key;
    (void)Shift;
}

void Tjukebox::FormKeyUp(QObject* Sender, uint16_t& Key, Qt::KeyboardModifiers Shift)
{
    (void)Sender;
    (void)Key;
    (void)Shift;
}

void Tjukebox::OnMessage(QObject* Receiver, QEvent* Msg, bool& Handled)
{
    (void)Receiver;
    (void)Msg;
    (void)Handled;
}

void Tjukebox::presskey(uint16_t key)
{
    (void)key;
}

void Tjukebox::capson() {}

void Tjukebox::capsoff() {}

void Tjukebox::scrollon() {}

void Tjukebox::scrolloff() {}

void Tjukebox::numon() {}

void Tjukebox::numoff() {}

void Tjukebox::off() {}

void Tjukebox::lightstimerTimer(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::keyPressEvent(QKeyEvent* event)
{
    QWidget::keyPressEvent(event);
}

void Tjukebox::keyReleaseEvent(QKeyEvent* event)
{
    QWidget::keyReleaseEvent(event);
}

} // namespace jukebox
