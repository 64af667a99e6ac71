#pragma once

// Running other programs from the windows: with or without waiting for them, and the dial-up
// program, whose report arrives on the program's own mailslot. While waiting, the windows stay
// alive: events are processed and the wait sleeps between its checks. A request to quit the
// application ends every wait, so the normal shutdown runs once control returns to the event
// loop. GUI thread only.

#include <QString>
#include <cstdint>

namespace library {

// How long the dial-up program may take to report before the wait gives up.
constexpr int kReportTimeoutMs = 3 * 60 * 1000;

// Starts `commandline` (the program, then its arguments; never through a shell). `windowstate`
// asks for a normal (0) or minimised first window; programs on this system choose their own
// first window state, so it has no effect. When `waitfor`, returns only after the program ended
// (or the application is quitting). True when the program was started.
[[nodiscard]] bool runprogram(const QString& commandline, int32_t windowstate, bool waitfor);

// Starts `commandline` without waiting and then waits for its report on the own mailslot
// (initmailslot opens it when needed): "connected" or "exit". Any other message is skipped.
// The result is "exit" as well when the program cannot be started, ends without reporting,
// takes longer than `timeoutMs`, or the application is quitting.
QString runAndWaitForReport(const QString& commandline, int timeoutMs = kReportTimeoutMs);

} // namespace library
