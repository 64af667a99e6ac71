// Album pages and navigation: which albums stand where, page steps and slides, the letter jump,
// the cover panel, the thumbnail pick and the switch to the prism.
// Until this topic is built, each handler leaves everything as it is.

#include "jukebox/jukeboxform.h"

namespace jukebox {

void Tjukebox::drawalbum(int num)
{
    (void)num;
}

void Tjukebox::drawtitles(QImage& lab, QObject* lsb, int albumindex)
{
    (void)lab;
    (void)lsb;
    (void)albumindex;
}

TCubePositions Tjukebox::GetGubePositions() const
{
    return {};
}

void Tjukebox::drawalbum3D(int n, int mode)
{
    (void)n;
    (void)mode;
}

void Tjukebox::movealbumlr() {}

void Tjukebox::movealbumrl() {}

void Tjukebox::movealbuml3D() {}

void Tjukebox::movealbumr3D() {}

void Tjukebox::butllabelMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                                  int Y)
{
    (void)Sender;
    (void)Button;
    (void)Shift;
    (void)X;
    (void)Y;
}

void Tjukebox::butllabelMouseUp(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                                int Y)
{
    (void)Sender;
    (void)Button;
    (void)Shift;
    (void)X;
    (void)Y;
}

void Tjukebox::butrlabelMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                                  int Y)
{
    (void)Sender;
    (void)Button;
    (void)Shift;
    (void)X;
    (void)Y;
}

void Tjukebox::butrlabelMouseUp(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                                int Y)
{
    (void)Sender;
    (void)Button;
    (void)Shift;
    (void)X;
    (void)Y;
}

void Tjukebox::butllabelClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::butrlabelClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::navbuttimerTimer(QObject* Sender)
{
    (void)Sender;
}

QString Tjukebox::removethe(const QString& s) const
{
    return s;
}

int Tjukebox::findalbumalpha(int startpos, QChar letter) const
{
    (void)startpos;
    (void)letter;
    return -1;
}

void Tjukebox::thumbalphaalbum(QChar letter)
{
    (void)letter;
}

void Tjukebox::alphapanelvkey(QObject* Sender, uint16_t Key)
{
    (void)Sender;
    (void)Key;
}

void Tjukebox::cdClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::jbcovershow(const QString& path)
{
    (void)path;
}

void Tjukebox::sizethumbpanel() {}

void Tjukebox::thumbsClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::imViewModeClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::favClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::setaddall() {}

void Tjukebox::lsb1Reachedend(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::lsb2Reachedtop(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::reloadeditlist() {}

} // namespace jukebox
