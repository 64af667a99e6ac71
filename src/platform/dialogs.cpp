#include "platform/dialogs.h"

#include "platform/qtdialogs.h"

namespace platform {

namespace {
Dialogs* installed = nullptr;
} // namespace

Dialogs& dialogs()
{
    if (installed) return *installed;
    static QtDialogs qtDialogs;
    return qtDialogs;
}

void setDialogs(Dialogs* replacement)
{
    installed = replacement;
}

} // namespace platform
