// Background play on the jukebox: its check box, the play and rest cycle and the volume fade.

#include "jukebox/jukeboxform.h"

#include <QLoggingCategory>
#include <QTimer>
#include <algorithm>
#include <limits>

#include "controls/bitmapcheckbox.h"
#include "controls/ticker.h"
#include "jukebox/backgroundplay.h"
#include "jukebox/tags.h"
#include "library/global.h"
#include "platform/mediaplayer.h"
#include "player/mainform.h"

namespace jukebox {

namespace {

Q_LOGGING_CATEGORY(lcBackground, "musetra.jukebox.background")

// A fade lowers the volume by one part in this many per step; the last step restores it.
constexpr int32_t kFadeSteps = 30;
// Phases of the play and rest cycle, kept in the Tag of `BackgroundTimer`.
constexpr int32_t kPlayPhase = 0;
constexpr int32_t kRestPhase = 1;

// The player plays (or is paused) while its position tick runs.
bool playerBusy()
{
    return player::mainform && player::mainform->Timers->isActive();
}

} // namespace

void Tjukebox::autoplaycbClick(QObject*)
{
    if (library::albumcount == 0) {
        autoplaycb->setchecked(false);
        return;
    }
    library::autoplaymode = autoplaycb->checked();
    if (autoplaycb->checked()) {
        setTag(BackgroundTimer, kPlayPhase);
        BackGroundTimerCount = 0;
        BackgroundTimer->setEnabled(library::config.creditsystem);
        initautoplay();
        library::config.autoplay = true;
        BackGroundCanAutoPlay = true;
        if (!playerBusy()) startautoplay();
        domessage(QStringLiteral("Started Autoplay"));
        return;
    }
    if (!autoplaying) return;
    if (player::mainform) player::mainform->StopClick(nullptr);
    library::config.autoplay = false;
    stopautoplay();
    domessage(QStringLiteral("Stopped Autoplay"));
    BackgroundTimer->setEnabled(false);
    setTag(BackgroundTimer, kPlayPhase);
    BackGroundTimerCount = 0;
}

void Tjukebox::BackGroundTimerTimer(QObject*)
{
    if (library::config.bgduration == 0 || !autoplaycb->checked()) {
        BackgroundTimer->setEnabled(false);
        return;
    }
    if (BackGroundTimerCount < std::numeric_limits<int32_t>::max()) ++BackGroundTimerCount;
    const int32_t phase = tagOf(BackgroundTimer);
    if (player::DEBUGON)
        qCDebug(lcBackground).noquote()
            << QStringLiteral("backgroundtimer- interval:%1 mde:%2").arg(BackGroundTimerCount).arg(phase);

    if (phase == kPlayPhase && BackGroundTimerCount >= library::config.bgduration) {
        BackGroundTimerCount = 0;
        setTag(BackgroundTimer, kRestPhase);
        if (autoplaying) {
            BackGroundCanAutoPlay = false;
            dofade();
        }
    } else if (phase == kRestPhase && BackGroundTimerCount >= library::config.bgwaittime) {
        BackGroundTimerCount = 0;
        setTag(BackgroundTimer, kPlayPhase);
        BackGroundCanAutoPlay = true;
        library::autoplaymode = true;
        if (!playerBusy()) startautoplay();
    }
}

void Tjukebox::dofade()
{
    fadetimernostop = false;
    // A fade already running goes on as it is.
    if (fadetimer->isEnabled()) return;
    setTag(fadetimer, 0);
    fadetimer->setEnabled(true);
}

void Tjukebox::FadeTimerTimer(QObject*)
{
    int32_t step = tagOf(fadetimer);
    if (step == 0) {
        const uint32_t v = getvol();
        fadetimeroriginalvalue = v;
        fadetimercurrentvalue = v;
        fadetimerrate = v / kFadeSteps;
    }
    // Never below 0: 30 steps of a thirtieth take at most the whole volume.
    fadetimercurrentvalue -= std::min(fadetimerrate, fadetimercurrentvalue);
    setTag(fadetimer, ++step);
    if (step < kFadeSteps) {
        setvol(fadetimercurrentvalue);
        return;
    }
    endFade();
}

void Tjukebox::endFade()
{
    // Before its first step the fade has not touched the volume yet.
    const bool volumeChanged = tagOf(fadetimer) > 0;
    fadetimer->setEnabled(false);
    library::autoplaymode = false;
    autoplaying = false;
    if (!fadetimernostop && player::mainform) player::mainform->StopClick(nullptr);
    // The next track starts at the volume of before.
    if (volumeChanged) setvol(fadetimeroriginalvalue);
}

uint32_t Tjukebox::getvol() const
{
    const platform::MediaPlayer* mp = player::mainform ? player::mainform->mediaPlayer() : nullptr;
    return mp ? static_cast<uint32_t>(std::max(0, mp->volume())) : 0;
}

void Tjukebox::setvol(uint32_t v)
{
    platform::MediaPlayer* mp = player::mainform ? player::mainform->mediaPlayer() : nullptr;
    if (mp) (void)mp->setVolume(static_cast<int>(std::min<uint32_t>(v, std::numeric_limits<int>::max())));
}

} // namespace jukebox
