#pragma once

// The player window and the jukebox window started over the library of the program folder, as the
// program starts them, on the libmpv player, by default on the untimed null audio output
// (selections pause as long as they do for a guest); and the time from a guest's action to the
// first decoded audio of the track it chose.

#include <QElapsedTimer>
#include <QTimer>
#include <QToolButton>
#include <benchmark/benchmark.h>
#include <functional>
#include <memory>

#include "jukebox/jukeboxform.h"
#include "jukebox/jukeboxfrontend.h"
#include "mpvbench.h"
#include "platform/mpvmediaplayer.h"
#include "player/frontend.h"
#include "player/mainform.h"

struct StartedJukebox
{
    explicit StartedJukebox(const platform::MpvOptions& options = nullOutput())
    {
        form = std::make_unique<player::Tmainform>(
            [options] { return std::make_unique<platform::MpvMediaPlayer>(nullptr, options); });
        player::mainform = form.get();
        form->FormCreate(form.get());
        frontEnd = std::make_unique<jukebox::JukeboxFrontEnd>();
        player::setFrontEnd(frontEnd.get());
        frontEnd->gojukebox(false);
        form->playlistbut->setChecked(true);
        jukebox::lcddelay = jukebox::NORMALLCDDELAY;
    }
    ~StartedJukebox()
    {
        player::setFrontEnd(nullptr);
        frontEnd.reset();
        player::mainform = nullptr;
        form.reset();
    }
    StartedJukebox(const StartedJukebox&) = delete;
    StartedJukebox& operator=(const StartedJukebox&) = delete;

    platform::MediaPlayer& mp() const { return *form->mediaPlayer(); }

    std::unique_ptr<player::Tmainform> form;
    std::unique_ptr<jukebox::JukeboxFrontEnd> frontEnd;
};

// Runs `action` and waits for the first decoded audio of `wanted`: the ms, -1 when none comes.
// Then the queue is emptied and the player stopped on its silent file, so the next turn sees only
// its own track start.
inline double msToAudioAfter(StartedJukebox& j, const QString& wanted, const std::function<void()>& action)
{
    // A selection pauses (with events running) after it has started the track: the first audio is
    // caught by a poll that runs inside that pause too.
    QElapsedTimer clock;
    double ms = -1;
    const AudioWatch watch(j.mp(), wanted);
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        if (ms < 0 && watch.audioCame()) ms = msSince(clock);
    });
    poll.start();
    clock.start();
    action();
    spinUntil([&] { return ms >= 0; });
    poll.stop();
    j.form->clearlistClick(nullptr);
    j.form->loadblankmp3file();
    spinUntil([&] { return !j.form->play->isChecked(); });
    return ms;
}
