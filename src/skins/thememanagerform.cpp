#include "skins/thememanagerform.h"

namespace skins {

void gothemes() {}

} // namespace skins
