#include "player/frontend.h"

namespace player {

namespace {
FrontEnd* installed = nullptr;
} // namespace

FrontEnd& frontend()
{
    if (installed) return *installed;
    static FrontEnd doNothing;
    return doNothing;
}

void setFrontEnd(FrontEnd* replacement)
{
    installed = replacement;
}

} // namespace player
