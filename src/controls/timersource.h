#pragma once

// The seam through which the controls get their timers and the millisecond clock.
// Production uses QTimer and a steady clock; tests install a fake whose ticks they fire by hand.
// GUI thread only; the seam object is owned by whoever installs it.

#include <cstdint>

class QObject;

namespace controls {

class Ticker;

class TimerSource
{
public:
    virtual ~TimerSource() = default;

    // A new disabled timer of interval 0, owned by `parent`.
    virtual Ticker* makeTicker(QObject* parent) = 0;
    // Milliseconds since an arbitrary start; wraps around like a 32-bit tick count.
    virtual uint32_t tickCount() const = 0;
};

// The timer source in force: the real one unless a test installed another.
TimerSource& timerSource();
// Installs another source (not owned) for every timer made afterwards; nullptr restores the real one.
void setTimerSource(TimerSource* replacement);

} // namespace controls
