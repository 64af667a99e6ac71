#include "ripper/warn.h"

namespace ripper {

// The warning is not built yet; the caller keeps warning next time.
bool showwarning(const QString&, const QString&, const QString&, const QString&, const QString&, bool)
{
    return true;
}

} // namespace ripper
