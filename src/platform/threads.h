#pragma once

// Worker threads that do long picture work beside the window thread.

#include <functional>
#include <future>
#include <vector>

namespace platform {

// Runs `work` on a thread of its own at a lower priority than the window thread, so a busy
// processor runs the window's events first and the worker takes the time left over.
std::future<void> startBelowWindowThread(std::function<void()> work);

// Forgets the workers in `workers` that have ended.
void dropEnded(std::vector<std::future<void>>& workers);

} // namespace platform
