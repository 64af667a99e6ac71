#pragma once

// Termination requests from outside the program (SIGTERM from a service manager, SIGINT from a
// terminal), turned into an ordinary call on the GUI thread so that the program can end by its
// own road: settings written, temporary files removed. GUI thread only.

#include <functional>

class QObject;

namespace platform {

// From now on SIGTERM and SIGINT call `handler` on the GUI thread, as a queued event of `context`,
// while `context` lives. A later call replaces the handler.
void onTerminationRequest(QObject* context, std::function<void()> handler);

} // namespace platform
