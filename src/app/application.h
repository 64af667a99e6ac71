#pragma once

// The composition root: the windows of the program, created in their fixed order and owned until the
// program ends, and the hooks through which a lower subsystem reaches a higher one (the player the
// jukebox, the jukebox the ripper).
// The player window comes first and its creation is the whole start-up, so the other windows do not
// exist yet while it runs. Destruction runs in the reverse order. GUI thread only.

#include <QSet>
#include <QString>
#include <memory>

#include "player/mainform.h"

namespace ripper {
class Tripmain;
class JukeboxHooks;
} // namespace ripper
namespace jukebox {
class Tcoverform;
class JukeboxFrontEnd;
} // namespace jukebox

namespace player {
class Trnd_dialog;
class Tvolumedisplay;
class Tvideo;
} // namespace player

namespace app {

class Application
{
public:
    explicit Application(player::Tmainform::MediaPlayerFactory makeMediaPlayer);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

private:
    void stop();
    void tellWriteFailure(const QString& text);

    bool startingUp_ = true;
    bool stopAsked_ = false;
    bool stopping_ = false;
    // The failed writes the operator was told of, by their text (it names the file).
    QSet<QString> toldWriteFailures_;
    // Made first: the player window's start-up opens the jukebox through it. It owns the jukebox
    // window, which goes first at the end.
    std::unique_ptr<jukebox::JukeboxFrontEnd> frontend_;
    std::unique_ptr<player::Tmainform> mainform_;
    std::unique_ptr<player::Trnd_dialog> rnd_dialog_;
    std::unique_ptr<ripper::Tripmain> ripmain_;
    std::unique_ptr<ripper::JukeboxHooks> ripperHooks_;
    std::unique_ptr<jukebox::Tcoverform> coverform_;
    std::unique_ptr<player::Tvolumedisplay> volumedisplay_;
    std::unique_ptr<player::Tvideo> video_;
};

} // namespace app
