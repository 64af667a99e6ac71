#pragma once

// What the desktop player asks of the jukebox front end. The player calls through this
// interface; the jukebox window implements it once it exists, and until then the do-nothing
// default answers. GUI thread only.

#include <QString>

class QWidget;

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
    // The jukebox window, or nullptr while it does not exist.
    virtual QWidget* jukeboxWindow() const { return nullptr; }

    // Background play: prepares it, then starts the first background track.
    virtual void initautoplay() {}
    virtual void startautoplay() {}

    // The thumbnail scroller follows the album list: a new album's cover (from its folder) goes in at
    // `index`, and a deleted album's thumbnail at `index` goes out.
    virtual void addthumbnail(const QString& albumFolder, int index)
    {
        (void)albumFolder;
        (void)index;
    }
    virtual void deletethumbnail(int index) { (void)index; }
};

// The front end in force: the do-nothing default unless one was installed.
FrontEnd& frontend();
// Installs the front end (not owned); nullptr restores the default.
void setFrontEnd(FrontEnd* replacement);

} // namespace player
