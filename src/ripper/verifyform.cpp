#include "ripper/verifyform.h"

namespace ripper {

// The editor is not built yet: the titles stay as they are and the road goes back.
int32_t doverify(int32_t m)
{
    mode = m;
    return 2;
}

} // namespace ripper
