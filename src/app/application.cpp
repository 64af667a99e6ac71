#include "app/application.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QTimer>

#include "jukebox/coverform.h"
#include "jukebox/jukeboxform.h"
#include "jukebox/jukeboxfrontend.h"
#include "library/inifuncs.h"
#include "library/writefailures.h"
#include "platform/cursors.h"
#include "platform/dialogs.h"
#include "platform/termination.h"
#include "player/randomfromalbums.h"
#include "player/video.h"
#include "player/volumedisplay.h"
#include "ripper/jukeboxhooks.h"
#include "ripper/musripmain.h"

namespace app {

Application::Application(player::Tmainform::MediaPlayerFactory makeMediaPlayer)
{
    frontend_ = std::make_unique<jukebox::JukeboxFrontEnd>();
    player::setFrontEnd(frontend_.get());
    mainform_ = std::make_unique<player::Tmainform>(std::move(makeMediaPlayer));
    player::mainform = mainform_.get();
    library::setWriteFailureReporter([this](const QString& text) { tellWriteFailure(text); });
    // The handler is in place before start-up reads or changes the settings.
    platform::onTerminationRequest(mainform_.get(), [this] { stop(); });
    mainform_->FormCreate(mainform_.get());
    startingUp_ = false;
    if (stopAsked_) QTimer::singleShot(0, mainform_.get(), [this] { stop(); });

    rnd_dialog_ = std::make_unique<player::Trnd_dialog>();
    player::rnd_dialog = rnd_dialog_.get();
    ripmain_ = std::make_unique<ripper::Tripmain>();
    ripper::ripmain = ripmain_.get();
    ripperHooks_ = std::make_unique<ripper::JukeboxHooks>();
    jukebox::setRipperHooks(ripperHooks_.get());
    coverform_ = std::make_unique<jukebox::Tcoverform>();
    jukebox::coverform = coverform_.get();
    volumedisplay_ = std::make_unique<player::Tvolumedisplay>();
    player::volumedisplay = volumedisplay_.get();
    video_ = std::make_unique<player::Tvideo>();
    player::video = video_.get();
}

// A service manager's stop (SIGTERM) or a terminal's Ctrl+C leaves by the File menu's Exit road,
// which writes the settings; they are written first of all, so a kill that follows the stop after a
// while finds them on disk however long the windows take to close. One asked for during start-up (the splash
// handles events) waits until start-up has ended; a dialog start-up shows meanwhile (an error that ends the
// program, a question) is closed unanswered, as nobody may come to answer it.
void Application::stop()
{
    stopping_ = true;
    if (!startingUp_) {
        library::writeini();
        return mainform_->fileexitClick(nullptr);
    }
    stopAsked_ = true;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog && dialog->isVisible() && dialog->isModal()) dialog->reject();
    }
}

// Guests may be at the jukebox, so its message line tells it there: the failure stands behind the
// message shown now and every later one until the file is written (an empty text: the line is
// shown again without it). The desktop player has an
// operator at it, who gets a message box once per file and road (a full disk fails every write).
// A stop from outside has nobody to tell: the error output has it.
void Application::tellWriteFailure(const QString& text)
{
    if (stopping_) return;
    if (frontend_->jukeboxVisible()) return frontend_->domessage(jukebox::oldmessage);
    if (text.isEmpty() || toldWriteFailures_.contains(text)) return;
    toldWriteFailures_.insert(text);
    platform::dialogs().messageBox(QCoreApplication::applicationName(), text, platform::MessageIcon::Warning,
                                   platform::MessageButtons::Ok);
}

Application::~Application()
{
    library::setWriteFailureReporter({});
    player::setFrontEnd(nullptr);
    frontend_.reset();
    player::video = nullptr;
    video_.reset();
    player::volumedisplay = nullptr;
    volumedisplay_.reset();
    jukebox::coverform = nullptr;
    coverform_.reset();
    jukebox::setRipperHooks(nullptr);
    ripperHooks_.reset();
    ripper::ripmain = nullptr;
    ripmain_.reset();
    player::rnd_dialog = nullptr;
    rnd_dialog_.reset();
    player::mainform = nullptr;
    mainform_.reset();
    platform::resetHandPointCursor();
}

} // namespace app
