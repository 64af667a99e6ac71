#pragma once

// Shutting the machine down from the jukebox's shutdown button.

#include <cstdint>

namespace library {

// Flag bits of a shutdown request.
constexpr int32_t kEwxShutdown = 1;
constexpr int32_t kEwxReboot = 2;
constexpr int32_t kEwxForce = 4;
constexpr int32_t kEwxPowerOff = 8;

// Asks the system to shut down (the flags ask for a shutdown or a power-off; both power the
// machine off). True when the request was accepted; other requests are refused. With the flags
// 5 or 13 (forced shutdown, with or without power-off) the program then ends at once, whether
// or not the request was accepted.
bool WinExit(int32_t iFlags);

} // namespace library
