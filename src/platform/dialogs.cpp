#include "platform/dialogs.h"

#include "platform/qtdialogs.h"
#include "platform/seam.h"

namespace platform {

Dialogs& dialogs()
{
    return Seam<Dialogs, QtDialogs>::get();
}

void setDialogs(Dialogs* replacement)
{
    Seam<Dialogs, QtDialogs>::set(replacement);
}

} // namespace platform
