#include "platform/dialogs.h"

#include "platform/qtdialogs.h"
#include "platform/seam.h"

namespace platform {

namespace {
Seam<Dialogs, QtDialogs> seam;
} // namespace

Dialogs& dialogs()
{
    return seam.get();
}

void setDialogs(Dialogs* replacement)
{
    seam.set(replacement);
}

} // namespace platform
