// Number entry: the keypad, the two number displays, row touches and "Add All".
// Until this topic is built, each handler leaves everything as it is.

#include "jukebox/jukeboxform.h"

namespace jukebox {

void Tjukebox::dolcd(int k, int delay)
{
    (void)k;
    (void)delay;
}

bool Tjukebox::isvalidalbum(int a) const
{
    (void)a;
    return false;
}

bool Tjukebox::isvalidtrack(int a) const
{
    (void)a;
    return false;
}

void Tjukebox::numClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::numButDown(int sender)
{
    (void)sender;
}

void Tjukebox::numButUp() {}

void Tjukebox::rightpanelpicMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift,
                                      int X, int Y)
{
    (void)Sender;
    (void)Button;
    (void)Shift;
    (void)X;
    (void)Y;
}

void Tjukebox::keypadpanelMouseUp(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                                  int Y)
{
    (void)Sender;
    (void)Button;
    (void)Shift;
    (void)X;
    (void)Y;
}

void Tjukebox::lsbClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::searchpanellbclick(int album, int track)
{
    (void)album;
    (void)track;
}

void Tjukebox::playall(QObject* lsb)
{
    (void)lsb;
}

void Tjukebox::playall3d(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::errortimerTimer(QObject* Sender)
{
    (void)Sender;
}

} // namespace jukebox
