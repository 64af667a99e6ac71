// Operator panels, continued: the advanced options (passcode, album editing, display options,
// theme manager, statistics) and the commerce settings with the play log's top-100 chart.

#include "jukebox/jukeboxform.h"

#include <QApplication>
#include <QSlider>
#include <QTimer>

#include "controls/bitmapactionbutton.h"
#include "controls/bitmapcheckbox.h"
#include "controls/numericinput.h"
#include "controls/scrolllistbox.h"
#include "controls/transparentpanel.h"
#include "jukebox/editbox.h"
#include "jukebox/jukeboxform_build.h"
#include "jukebox/logfile.h"
#include "jukebox/picturebox.h"
#include "jukebox/ripperhooks.h"
#include "jukebox/tags.h"
#include "jukebox/textlabel.h"
#include "library/global.h"
#include "library/writefailures.h"
#include "library/inifuncs.h"
#include "library/osk.h"
#include "player/aboutform.h"
#include "player/backdrops.h"
#include "player/mainform.h"
#include "skins/resourceskins.h"
#include "skins/thememanagerform.h"

namespace jukebox {

namespace {

constexpr int kCodeSelectionLength = 3;
constexpr QChar kBackspace = u'\b';

} // namespace

// ---- The operators' backdrop ----

std::array<controls::TTransparentPanel*, 4> Tjukebox::adminPanels() const
{
    return {advanced, randompanel, randomdicepanel, Commerce};
}

void Tjukebox::followAdminPanels()
{
    for (QWidget* admin : adminPanels())
        admin->installEventFilter(this);
}

// The backdrop is screen-sized and seen only while an operator panel shows. It is made before a
// showing panel paints, and let go when no panel shows once the events in hand have run, so a
// panel taking over from another keeps it.
void Tjukebox::adminPanelShownOrHidden(QEvent::Type type)
{
    if (type == QEvent::ShowToParent) player::makeAdminBackdrop();
    if (type != QEvent::HideToParent) return;
    QTimer::singleShot(0, this, [this] {
        for (const QWidget* admin : adminPanels())
            if (admin->isVisibleTo(this)) return;
        player::dropAdminBackdrop();
    });
}

// ---- Advanced options ----

void Tjukebox::advancedbutClick(QObject*)
{
    // The operator's menu closes as for every other of its choices: "Done" returns to the keypad.
    if (tagOf(kioskpanel) == 1) kioskpanelClick(kioskpanel);
    keypadlocked = true;
    library::hideosk();
    advanced->setGeometry(rect());
    advanced->raise();
    code->setText(library::config.password);
    volumeshow->setchecked(library::config.jukeboxvolumepanel);
    addallshow->setchecked(library::config.jukeboxaddall);
    NoRepeatCb->setchecked(library::config.norepeat);
    GoCommercialManager->setVisible(library::config.creditsystem);
    reloadeditlist();
    if (currentalbum > 0) editlb->settopmost(currentalbum - 1);
    advanced->show();
    editlb->setFocus();
}

void Tjukebox::codeKeyPress(QObject*, QChar& Key)
{
    if (!Key.isDigit() && Key != kBackspace) Key = QChar();
}

void Tjukebox::codeEnter(QObject*)
{
    library::osk(true, false);
    code->setSelection(1, kCodeSelectionLength);
}

void Tjukebox::codeExit(QObject*)
{
    library::hideosk();
}

void Tjukebox::codeClick(QObject*)
{
    code->setSelection(0, kCodeSelectionLength);
    code->setFocus();
}

void Tjukebox::codefirstClick(QObject* Sender)
{
    codeClick(Sender);
}

// The passcode is the track number typed after album "0000": always three digits.
void Tjukebox::setcodeClick(QObject*)
{
    library::hideosk();
    editlb->setFocus();
    library::config.password = QStringLiteral("%1").arg(code->text().toInt(), 3, 10, QLatin1Char('0'));
    code->setText(library::config.password);
}

void Tjukebox::volumeshowClick(QObject* Sender)
{
    addallshowClick(Sender);
    setopenpanel();
}

void Tjukebox::addallshowClick(QObject*)
{
    library::config.jukeboxvolumepanel = volumeshow->checked();
    library::config.jukeboxaddall = addallshow->checked();
    library::writeini();
}

void Tjukebox::NoRepeatCbClick(QObject*)
{
    library::config.norepeat = NoRepeatCb->checked();
}

void Tjukebox::editlbClick(QObject*)
{
    if (editlb->itemindex() < 0) return;
    editlb->hide();
    QCoreApplication::processEvents();
    const int top = editlb->topmost();
    ripperHooks().doedit(editlb->itemindex() + 1);
    editlb->show();
    reloadeditlist();
    if (currentalbum > 0) editlb->settopmost(top);
}

void Tjukebox::advancedOKClick(QObject*)
{
    library::writeini();
    drawalbum(currentalbum);
    setaddall();
    keypadlocked = false;
    advanced->hide();
    library::hideosk();
}

void Tjukebox::GoThemeManagerClick(QObject* Sender)
{
    advancedOKClick(Sender);
    skins::gothemes([this] { restyle(); });
}

// Screens keep the skin pictures they were given, so after a theme change every one of them asks
// again: this window lays itself out anew, and every other window repaints.
void Tjukebox::restyle()
{
    FormResize(this);
    for (QWidget* window : QApplication::topLevelWidgets())
        window->update();
}

void Tjukebox::jbinfogoClick(QObject*)
{
    player::showabout(1);
}

// ---- Commerce ----

void Tjukebox::GoCommercialManagerClick(QObject* Sender)
{
    CmCredit->setText(QStringLiteral("Coin credits: %1 Free credits: %2")
                          .arg(library::config.credittotal)
                          .arg(library::config.freecredittotal));
    // Under the credits, the writes that failed and stand (the counts above may not be on disk).
    const QStringList failures = library::standingWriteFailures();
    CmCreditLab->setText(failures.join(QLatin1Char('\n')));
    CmCreditLab->setVisible(!failures.isEmpty());
    placeStatistics();
    if (Sender == CmResetCreditStats) return;
    Commerce->setGeometry(rect());
    CmPlaysPerCredit->setvalue(library::config.playspercoincredit);
    CmAllowFreeCredit->setchecked(library::config.allowfreecredit);
    CmBgVolume->setvalue(library::config.bgvolumemax);
    CmBgDuration->setvalue(library::config.bgduration);
    CmBgWaitTime->setvalue(library::config.bgwaittime);
    Cmtop100Lab->setText(build::chartCaption());
    tlogfile* chart = playLog();
    Cmtop100Lab->setVisible(chart != nullptr);
    CmTop100->setVisible(chart != nullptr);
    // The chart is worked out once per opening: a resumed thread runs its body only once.
    if (chart) chart->Resume();
    Commerce->show();
    Commerce->raise();
}

void Tjukebox::cmResetCreditStatsClick(QObject*)
{
    library::config.credittotal = 0;
    library::config.freecredittotal = 0;
    library::writeini();
    GoCommercialManagerClick(CmResetCreditStats);
}

void Tjukebox::commerceOKClick(QObject*)
{
    if (player::mainform) player::mainform->volChange(player::mainform->vol);
    Commerce->hide();
    library::config.playspercoincredit = CmPlaysPerCredit->value();
    library::config.allowfreecredit = CmAllowFreeCredit->checked();
    library::config.bgvolumemax = CmBgVolume->value();
    library::config.bgduration = CmBgDuration->value();
    library::config.bgwaittime = CmBgWaitTime->value();
    // A fresh, suspended chart thread for the next opening; the old one is stopped and waited for.
    if (!library::config.trackslogfile.isEmpty()) createPlayLog();
    library::writeini();
}

tlogfile* Tjukebox::playLog()
{
    const QString& path = library::config.trackslogfile;
    if (path.isEmpty()) return nullptr;
    if (!log || log->configfile() != path) createPlayLog();
    return log;
}

} // namespace jukebox
