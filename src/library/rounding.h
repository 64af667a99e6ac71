#pragma once

// The program's one rounding of a measure to a whole number: halves go to the even neighbour
// (2.5 gives 2, 3.5 gives 4), as the original program rounds; std::round and qRound send halves
// away from zero instead. Any thread.

#include <cmath>

namespace library {

inline int roundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

} // namespace library
