#pragma once

// The Windows version as a code number. Some roads differ between the old Windows 9x family
// and the NT family (codes 3 and above): thread priorities, where a font is registered, whether
// the keyboard lights may be driven. Codes: 0 unknown, 1 Windows 95, 2 Windows 98, 3 NT 3,
// 4 NT 4, 5 NT 5 or later with minor version 0, 6 NT 5 or later with another minor version.

#include <cstdint>

namespace library {

// This system is of the newest family (version 10.0 of the NT line), so every road built for
// the NT family is the one taken.
constexpr int32_t kNewestWindowsFamily = 5;

constexpr int32_t Getwindowsversion()
{
    return kNewestWindowsFamily;
}

} // namespace library
