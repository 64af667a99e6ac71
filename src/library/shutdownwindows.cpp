#include "library/shutdownwindows.h"

#include "platform/fatal.h"
#include "platform/power.h"

namespace library {

bool WinExit(int32_t iFlags)
{
    // The system grants or refuses the power-off itself (systemd and polkit), so there is no
    // privilege of our own to enable first.
    const bool asked = (iFlags & (kEwxShutdown | kEwxPowerOff)) != 0;
    const bool accepted = asked && platform::power().powerOff();
    if (iFlags == (kEwxShutdown | kEwxForce) || iFlags == (kEwxShutdown | kEwxForce | kEwxPowerOff))
        platform::halt(0);
    return accepted;
}

} // namespace library
