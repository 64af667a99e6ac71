#pragma once

// Turning the machine off. Tests install a fake so that nothing is ever powered off.
// The seam object is owned by whoever installs it.

namespace platform {

class Power
{
public:
    virtual ~Power() = default;

    // Asks the system to shut down and power off; true when the request was accepted.
    [[nodiscard]] virtual bool powerOff() = 0;
};

// The power seam in force: the real one unless a test installed another.
Power& power();
// Installs another seam (not owned); nullptr restores the real one.
void setPower(Power* replacement);

} // namespace platform
