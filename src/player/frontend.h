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
    virtual void gojukebox(bool /*show*/) {}
    // Shows `text` on the jukebox's scrolling message line.
    virtual void domessage(const QString& /*text*/) {}
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
    virtual void addthumbnail(const QString& /*albumFolder*/, int /*index*/) {}
    virtual void deletethumbnail(int /*index*/) {}

    // ---- Play queue and playback ----
    // Gives one credit back to the jukebox's credit counter.
    virtual void RefundCredit() {}
    // Writes one play-log line for a track put on the queue.
    virtual void writeentry(const QString& /*artist*/, const QString& /*album*/, const QString& /*track*/) {}
    // Whether the track now playing is a background track.
    virtual bool autoplaying() const { return false; }
    virtual void setAutoplaying(bool /*on*/) {}
    // The queue has run out: background play counts its rest phase afresh.
    virtual void restartBackgroundRest() {}
    // The queue panel's playing row (-1 for none), repainted when the panel shows.
    virtual void setQueuePanelPlayingRow(int /*row*/) {}
    // The jukebox's cover picture panel, where videos play when they are to show on the jukebox
    // screen; nullptr while there is none.
    virtual QWidget* coverimagepanel() const { return nullptr; }
    // Shows the jukebox's thumbnails modally for the operator to pick an album's cover; returns the
    // picked thumbnail's index, or -1 when the jukebox closed without a pick.
    virtual int pickcover() { return -1; }
    // Brings the cover picture panel to the front and shows it, with the cover of `path` unless empty.
    virtual void jbcovershow(const QString& /*path*/) {}
    // Shows the cover window (the desktop player's cover view) with the cover of the album in `folder`.
    virtual void covershow(const QString& /*folder*/) {}
    // Whether the CD extraction window is on screen: while it is, the jukebox does not take the focus.
    virtual bool extractionVisible() const { return false; }
};

// The front end in force: the do-nothing default unless one was installed.
FrontEnd& frontend();
// Installs the front end (not owned); nullptr restores the default.
void setFrontEnd(FrontEnd* replacement);

} // namespace player
