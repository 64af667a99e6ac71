#pragma once

// Waiting for a worker thread from the window thread, and a worker's synchronised call back
// onto the window thread.
//
// A worker hands work to the window thread with a blocking queued invocation (`synchronize`).
// If the window thread waited for that worker with a plain QThread::wait, neither could move:
// the worker waits for its hand-over to run, the window thread for the worker to end. So the
// window thread waits only through `waitForThread`, which keeps running the hand-overs posted
// to it while it waits. It runs queued invocations only: no input, painting or timers, so no
// handler can re-enter behind the waiting one.

#include <functional>
#include <semaphore>

class QObject;
class QThread;

namespace platform {

// Hands `task` to the thread of `context` and returns at once; `done` is released once the task
// has run, or when `context` died before it could. Called on that thread, it runs at once. The
// caller waits on `done` before its own end, as the task may use what the caller owns.
void handOver(QObject* context, const std::function<void()>& task, std::binary_semaphore& done);

// Runs `task` on the thread of `context` and returns once it has run. Called on that thread,
// it runs at once. If `context` dies before the task could run, the call returns without it.
void synchronize(QObject* context, const std::function<void()>& task);

// Waits until `thread` has finished (at once when it never started), running the hand-overs
// that workers post to the calling thread meanwhile.
void waitForThread(QThread& thread);

} // namespace platform
