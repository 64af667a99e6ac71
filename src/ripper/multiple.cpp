#include "ripper/multiple.h"

namespace ripper {

// The list itself is not built yet: the road goes back.
int32_t multipledialog(const talbums&)
{
    return kMatchGoBack;
}

} // namespace ripper
