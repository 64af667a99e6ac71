#include "jukebox/playlistview.h"

namespace jukebox {

tplaylistview::tplaylistview(QWidget* AOwner) : TTransparentPanel(AOwner) {}

} // namespace jukebox
