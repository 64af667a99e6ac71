#pragma once

// Profiling traces: nested timings of named stretches of code, written as debug lines
// "PROFILE START: name @ ticks" and "PROFILE END: name @ ticks ELAPSED: ms" to the logging
// category "musetra.profile" (off unless enabled, e.g. QT_LOGGING_RULES="musetra.profile.debug=true").
// Ticks are milliseconds of the monotonic clock, kept in 32 bits. GUI thread only.

#include <QString>
#include <array>
#include <cstdint>

namespace library {

struct tprofilerec
{
    QString name;
    uint32_t starttime = 0;
};

constexpr int32_t kProfileDepth = 101;

inline std::array<tprofilerec, kProfileDepth> timerstack;
// Index of the innermost measurement; -1 before the first.
inline int32_t stackcount = -1;

// Starts the measurement `name` inside the running ones. Beyond kProfileDepth nested
// measurements, further ones are not timed (and their ends are absorbed).
void startprofiletimer(const QString& name);
// Ends the innermost measurement. The outermost entry stays on the stack; an end with no
// measurement ever started writes nothing.
void endprofiletimer();

// Empties the stack (test fixtures).
void resetprofiling();

} // namespace library
