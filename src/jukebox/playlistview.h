#pragma once

// The jukebox's queue panel: the desktop player's play queue shown over the album area, with keys
// to play, remove, reorder and clear queued tracks; the move keys repeat while held, ever faster.
// Row k of its list is row k of the queue. The jukebox window creates the one instance
// (`playlistpanel`) hidden, with the jukebox backdrop, and binds the keys' clicks to its queue
// handlers (jukeboxform_queue.cpp).
// GUI thread only; owned by its Qt parent.

#include "controls/transparentpanel.h"

namespace controls {
class Ticker;
class TScrollListbox;
} // namespace controls

namespace jukebox {

class FrameShape;
class PictureBox;

class tplaylistview : public controls::TTransparentPanel
{
    Q_OBJECT

public:
    explicit tplaylistview(QWidget* AOwner);

    // Lays the panel out for its size.
    void Resize();
    // A key pressed or released: its pictures, and the repeat of the move keys.
    void butMouseDown(PictureBox* key);
    void butMouseUp(PictureBox* key);
    // The repeat tick of a held move key.
    void OnTimer();

    FrameShape* lbshape = nullptr;
    FrameShape* lbshape2 = nullptr;
    controls::TScrollListbox* lb = nullptr;
    PictureBox* moveup = nullptr;
    PictureBox* movedown = nullptr;
    PictureBox* remove = nullptr;
    PictureBox* play = nullptr;
    PictureBox* purge = nullptr;
    controls::Ticker* buttimer = nullptr;
    PictureBox* currentbut = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    PictureBox* makeKey(const char* name);
};

} // namespace jukebox
