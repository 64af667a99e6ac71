#include "player/application.h"

#include <QTimer>

#include "jukebox/coverform.h"
#include "jukebox/jukeboxfrontend.h"
#include "platform/cursors.h"
#include "platform/termination.h"
#include "player/randomfromalbums.h"
#include "player/video.h"
#include "player/volumedisplay.h"
#include "ripper/musripmain.h"

namespace player {

Application::Application(Tmainform::MediaPlayerFactory makeMediaPlayer)
{
    frontend_ = std::make_unique<jukebox::JukeboxFrontEnd>();
    setFrontEnd(frontend_.get());
    mainform_ = std::make_unique<Tmainform>(std::move(makeMediaPlayer));
    mainform = mainform_.get();
    // The handler is in place before start-up reads or changes the settings.
    platform::onTerminationRequest(mainform_.get(), [this] { stop(); });
    mainform_->FormCreate(mainform_.get());
    startingUp_ = false;
    if (stopAsked_) QTimer::singleShot(0, mainform_.get(), [this] { stop(); });

    rnd_dialog_ = std::make_unique<Trnd_dialog>();
    rnd_dialog = rnd_dialog_.get();
    ripmain_ = std::make_unique<ripper::Tripmain>();
    ripper::ripmain = ripmain_.get();
    coverform_ = std::make_unique<jukebox::Tcoverform>();
    jukebox::coverform = coverform_.get();
    volumedisplay_ = std::make_unique<Tvolumedisplay>();
    volumedisplay = volumedisplay_.get();
    video_ = std::make_unique<Tvideo>();
    video = video_.get();
}

// A service manager's stop (SIGTERM) or a terminal's Ctrl+C leaves by the File menu's Exit road,
// which writes the settings. One asked for during start-up (the splash handles events) waits
// until start-up has ended.
void Application::stop()
{
    if (startingUp_)
        stopAsked_ = true;
    else
        mainform_->fileexitClick(nullptr);
}

Application::~Application()
{
    setFrontEnd(nullptr);
    frontend_.reset();
    video = nullptr;
    video_.reset();
    volumedisplay = nullptr;
    volumedisplay_.reset();
    jukebox::coverform = nullptr;
    coverform_.reset();
    ripper::ripmain = nullptr;
    ripmain_.reset();
    rnd_dialog = nullptr;
    rnd_dialog_.reset();
    mainform = nullptr;
    mainform_.reset();
    platform::resetHandPointCursor();
}

} // namespace player
