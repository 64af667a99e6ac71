#include "player/frontend.h"

#include "platform/seam.h"

namespace player {

using FrontEndSeam = platform::Seam<FrontEnd, FrontEnd>;

FrontEnd& frontend()
{
    return FrontEndSeam::get();
}

void setFrontEnd(FrontEnd* replacement)
{
    FrontEndSeam::set(replacement);
}

} // namespace player
