// Operator panels: the corner pictures and the panels they open, the control panel's keys, the
// kiosk buttons, the random playlist, the advanced options and the commerce settings.
// Until this topic is built, each handler leaves everything as it is.

#include "jukebox/jukeboxform.h"

namespace jukebox {

void Tjukebox::openpanelClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::openpanelMouseMove(QObject* Sender, Qt::KeyboardModifiers Shift, int X, int Y)
{
    (void)Sender;
    (void)Shift;
    (void)X;
    (void)Y;
}

void Tjukebox::kioskpanelClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::VisualsPanelClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::setvisualspanel(bool on)
{
    (void)on;
}

void Tjukebox::panelshapeMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift,
                                   int X, int Y)
{
    (void)Sender;
    (void)Button;
    (void)Shift;
    (void)X;
    (void)Y;
}

void Tjukebox::panelshapeMouseUp(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                                 int Y)
{
    (void)Sender;
    (void)Button;
    (void)Shift;
    (void)X;
    (void)Y;
}

void Tjukebox::volumetimerTimer(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::rejectallClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::ripbutClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::lsb1playallClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::lsb2playallClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::coverimageClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::randombutClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::randompanellbClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::randompanelselectallClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::randompanelselectnoneClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::randompanelOKClick(QObject* Sender)
{
    (void)Sender;
}

bool Tjukebox::cb(int n)
{
    (void)n;
    return false;
}

void Tjukebox::RandomCancelClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::randompanelcancelClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::advancedbutClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::codeKeyPress(QObject* Sender, QChar& Key)
{
    (void)Sender;
    (void)Key;
}

void Tjukebox::codeEnter(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::codeExit(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::codeClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::codefirstClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::setcodeClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::volumeshowClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::addallshowClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::NoRepeatCbClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::editlbClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::advancedOKClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::GoThemeManagerClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::jbinfogoClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::GoCommercialManagerClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::cmResetCreditStatsClick(QObject* Sender)
{
    (void)Sender;
}

void Tjukebox::commerceOKClick(QObject* Sender)
{
    (void)Sender;
}

} // namespace jukebox
