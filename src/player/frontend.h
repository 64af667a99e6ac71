#pragma once

// What the desktop player asks of the jukebox front end. The player calls through this
// interface; the jukebox window implements it once it exists, and until then the do-nothing
// default answers. GUI thread only.

#include <QString>

namespace player {

class FrontEnd
{
public:
    virtual ~FrontEnd() = default;

    // Creates the jukebox window on first use; `show` shows it full-screen and hides the player.
    virtual void gojukebox(bool show) { (void)show; }
    // Shows `text` on the jukebox's scrolling message line.
    virtual void domessage(const QString& text) { (void)text; }
    virtual bool jukeboxExists() const { return false; }
    virtual bool jukeboxVisible() const { return false; }
    // Closes the jukebox window (its close handler shows the player again).
    virtual void closeJukebox() {}
};

// The front end in force: the do-nothing default unless one was installed.
FrontEnd& frontend();
// Installs the front end (not owned); nullptr restores the default.
void setFrontEnd(FrontEnd* replacement);

} // namespace player
