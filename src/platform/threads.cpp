#include "platform/threads.h"

#include <chrono>
#include <sys/resource.h>
#include <unistd.h>

namespace platform {

namespace {
// Nice steps below the process: the window thread then gets about nine tenths of a shared processor.
constexpr int kWorkerNiceSteps = 10;
} // namespace

std::future<void> startBelowWindowThread(std::function<void()> work)
{
    return std::async(std::launch::async, [work = std::move(work)] {
        // On Linux the nice value belongs to each thread, named by its thread id.
        const id_t thread = id_t(gettid());
        const int nice = getpriority(PRIO_PROCESS, thread);
        (void)setpriority(PRIO_PROCESS, thread, nice + kWorkerNiceSteps);
        work();
    });
}

void dropEnded(std::vector<std::future<void>>& workers)
{
    std::erase_if(workers, [](const std::future<void>& worker) {
        return worker.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
    });
}

} // namespace platform
