#pragma once

// The seam through which the program reads the wall-clock date and time, and a steady clock. Production reads
// the system clock; tests install a clock fixed at the moment they need (month ends, midnight). Read on the
// GUI thread; workers are handed the values they need when they start.

#include <QDateTime>

namespace platform {

class Clock
{
public:
    virtual ~Clock() = default;
    // The local date and time now.
    virtual QDateTime now() const = 0;
    // Milliseconds of a clock that only moves forward, for measuring short spans: a change of the
    // wall clock or of summer time never makes a span negative or a day long. A fake that stands
    // at a set moment counts from its date and time.
    virtual qint64 steadyMs() const { return now().toMSecsSinceEpoch(); }
};

// The clock in force: the system clock unless a test installed another.
Clock& clock();
// Installs another clock (not owned); nullptr restores the system clock.
void setClock(Clock* replacement);

} // namespace platform
