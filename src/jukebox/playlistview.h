#pragma once

// The jukebox's queue panel: the desktop player's play queue shown over the album area, with keys
// to play, remove, reorder and clear queued tracks. The jukebox window creates the one instance
// (`playlistpanel`) hidden, with the jukebox backdrop.
// GUI thread only; owned by its Qt parent.

#include "controls/transparentpanel.h"

namespace jukebox {

class tplaylistview : public controls::TTransparentPanel
{
    Q_OBJECT

public:
    explicit tplaylistview(QWidget* AOwner);
};

} // namespace jukebox
