#include "platform/threads.h"

#include <sys/resource.h>
#include <unistd.h>

namespace platform {

namespace {
// Nice steps below the process: the window thread then gets about nine tenths of a shared processor.
constexpr int kWorkerNiceSteps = 10;
} // namespace

void yieldToWindowThread()
{
    // On Linux the nice value belongs to each thread, named by its thread id.
    const id_t thread = id_t(gettid());
    const int nice = getpriority(PRIO_PROCESS, thread);
    (void)setpriority(PRIO_PROCESS, thread, nice + kWorkerNiceSteps);
}

} // namespace platform
