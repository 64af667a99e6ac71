#include "jukebox/searchtrack.h"

namespace jukebox {

ttracksearch::ttracksearch(QWidget* AOwner) : TTransparentPanel(AOwner) {}

} // namespace jukebox
