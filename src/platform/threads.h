#pragma once

// Worker threads that do long picture work beside the window thread.

namespace platform {

// The calling thread runs from now on at a lower priority than the window thread, so a busy
// processor runs the window's events first and the worker takes the time left over. For a thread
// of its own that ends with its work: the priority cannot be raised again.
void yieldToWindowThread();

} // namespace platform
