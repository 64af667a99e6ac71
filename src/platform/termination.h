#pragma once

// Termination requests from outside the program (SIGTERM from a service manager; SIGINT, SIGQUIT
// and SIGHUP from a terminal; SIGUSR1, SIGUSR2, and every other signal whose default ends the
// process without a crash: the alarms, the CPU and file size limits, SIGPWR, the real-time
// signals), turned into an ordinary call on the GUI thread so that the program can end by its
// own road: settings written, temporary files removed.
// GUI thread only.

#include <functional>

class QObject;

namespace platform {

// From now on each of those signals calls `handler` on the GUI thread, as a queued event of
// `context`, while `context` lives, and SIGPIPE is ignored. A later call replaces the handler.
void onTerminationRequest(QObject* context, std::function<void()> handler);

// From now on the process gets SIGTERM when the process that started it ends, however it ends
// (a kill included). False when that one has already ended or the request failed.
[[nodiscard]] bool endWithParent();

} // namespace platform
