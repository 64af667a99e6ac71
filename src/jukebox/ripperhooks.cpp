#include "jukebox/ripperhooks.h"

#include "platform/seam.h"

namespace jukebox {

using RipperHooksSeam = platform::Seam<RipperHooks, RipperHooks>;

RipperHooks& ripperHooks()
{
    return RipperHooksSeam::get();
}

void setRipperHooks(RipperHooks* replacement)
{
    RipperHooksSeam::set(replacement);
}

} // namespace jukebox
