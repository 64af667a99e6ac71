// Operator panels: the corner pictures and the panels they open, the control panel's keys, the
// kiosk buttons, the random playlist, the advanced options and the commerce settings.
// Until this topic is built, each handler leaves everything as it is.

#include "jukebox/jukeboxform.h"

namespace jukebox {

void Tjukebox::openpanelClick(QObject*) {}

void Tjukebox::openpanelMouseMove(QObject*, Qt::KeyboardModifiers, int, int) {}

void Tjukebox::kioskpanelClick(QObject*) {}

void Tjukebox::VisualsPanelClick(QObject*) {}

void Tjukebox::setvisualspanel(bool) {}

void Tjukebox::panelshapeMouseDown(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}

void Tjukebox::panelshapeMouseUp(QObject*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {}

void Tjukebox::volumetimerTimer(QObject*) {}

void Tjukebox::rejectallClick(QObject*) {}

void Tjukebox::ripbutClick(QObject*) {}

void Tjukebox::lsb1playallClick(QObject*) {}

void Tjukebox::lsb2playallClick(QObject*) {}

void Tjukebox::coverimageClick(QObject*) {}

void Tjukebox::randombutClick(QObject*) {}

void Tjukebox::randompanellbClick(QObject*) {}

void Tjukebox::randompanelselectallClick(QObject*) {}

void Tjukebox::randompanelselectnoneClick(QObject*) {}

void Tjukebox::randompanelOKClick(QObject*) {}

bool Tjukebox::cb(int)
{
    return false;
}

void Tjukebox::RandomCancelClick(QObject*) {}

void Tjukebox::randompanelcancelClick(QObject*) {}

void Tjukebox::advancedbutClick(QObject*) {}

void Tjukebox::codeKeyPress(QObject*, QChar&) {}

void Tjukebox::codeEnter(QObject*) {}

void Tjukebox::codeExit(QObject*) {}

void Tjukebox::codeClick(QObject*) {}

void Tjukebox::codefirstClick(QObject*) {}

void Tjukebox::setcodeClick(QObject*) {}

void Tjukebox::volumeshowClick(QObject*) {}

void Tjukebox::addallshowClick(QObject*) {}

void Tjukebox::NoRepeatCbClick(QObject*) {}

void Tjukebox::editlbClick(QObject*) {}

void Tjukebox::advancedOKClick(QObject*) {}

void Tjukebox::GoThemeManagerClick(QObject*) {}

void Tjukebox::jbinfogoClick(QObject*) {}

void Tjukebox::GoCommercialManagerClick(QObject*) {}

void Tjukebox::cmResetCreditStatsClick(QObject*) {}

void Tjukebox::commerceOKClick(QObject*) {}

} // namespace jukebox
