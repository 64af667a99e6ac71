#pragma once

// The jukebox's search panel: a keyword, a search key and the result list, over the album area.
// The jukebox window creates the one instance (`searchpanel`) hidden, with the jukebox backdrop.
// GUI thread only; owned by its Qt parent.

#include "controls/transparentpanel.h"

namespace jukebox {

class ttracksearch : public controls::TTransparentPanel
{
    Q_OBJECT

public:
    explicit ttracksearch(QWidget* AOwner);
};

} // namespace jukebox
