#pragma once

// The road of a fatal configuration error: an error message box, then the program halts at once.
// Tests replace the halt with a handler that throws, so the road can be checked without exiting.

#include <functional>
#include <stdexcept>

class QString;

namespace platform {

// Thrown by the test halt handler; never in production.
class Halted : public std::runtime_error
{
public:
    explicit Halted(int code) : std::runtime_error("halted"), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

// Shows `text` with `caption` in an error box (OK button) and halts the program.
[[noreturn]] void fatalError(const QString& caption, const QString& text);

// Halts the program with `code` through the installed handler (default: immediate process exit).
[[noreturn]] void halt(int code);

// Installs the halt handler; an empty function restores the immediate exit. The handler must not return.
void setHaltHandler(std::function<void(int)> handler);

} // namespace platform
