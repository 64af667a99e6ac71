#include "platform/waithelper.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <semaphore>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
extern "C" void __tsan_ignore_thread_begin();
extern "C" void __tsan_ignore_thread_end();
#endif

namespace platform {

namespace {

// ThreadSanitizer sees no order through a posted call: Qt guards its queue with its own locks, and
// Qt is not built with it. So what a worker wrote before posting is marked as coming before the
// call runs (`token` names the call), and what posting itself writes is not watched. No-ops in
// other builds.
#if defined(__SANITIZE_THREAD__)
void beforePosting(void* token)
{
    __tsan_release(token);
    __tsan_ignore_thread_begin();
}
void afterPosting()
{
    __tsan_ignore_thread_end();
}
void beforeRunning(void* token)
{
    __tsan_acquire(token);
}
#else
void beforePosting(void*) {}
void afterPosting() {}
void beforeRunning(void*) {}
#endif

// Wakes waiting threads when a hand-over is posted or a waited-for thread ends.
// `generation` counts those events; guarded by `mutex`. The standard library's locks, unlike Qt's
// (built without it), are seen by the ThreadSanitizer build.
struct Wakeups
{
    std::mutex mutex;
    std::condition_variable changed;
    quint64 generation = 0;
};

Wakeups& wakeups()
{
    static Wakeups instance;
    return instance;
}

void wakeWaiters()
{
    Wakeups& w = wakeups();
    const std::lock_guard lock(w.mutex);
    ++w.generation;
    w.changed.notify_all();
}

quint64 currentGeneration()
{
    Wakeups& w = wakeups();
    const std::lock_guard lock(w.mutex);
    return w.generation;
}

// A missed wake-up costs at most this long.
constexpr std::chrono::milliseconds kSlice{50};

void sleepUnlessWoken(quint64 seen)
{
    Wakeups& w = wakeups();
    std::unique_lock lock(w.mutex);
    if (w.generation == seen) w.changed.wait_for(lock, kSlice);
}

// Releases the worker when the posted call is destroyed: after it ran, or when Qt discarded it
// because the receiver died.
struct Release
{
    explicit Release(std::binary_semaphore& semaphore) : semaphore_(semaphore) {}
    ~Release() { semaphore_.release(); }
    Release(const Release&) = delete;
    Release& operator=(const Release&) = delete;
    std::binary_semaphore& semaphore_;
};

} // namespace

void handOver(QObject* context, const std::function<void()>& task, std::binary_semaphore& done)
{
    if (!context) {
        done.release();
        return;
    }
    if (QThread::currentThread() == context->thread()) {
        task();
        done.release();
        return;
    }
    auto release = std::make_shared<Release>(done);
    beforePosting(release.get());
    QMetaObject::invokeMethod(
        context,
        [task, release] {
            beforeRunning(release.get());
            task();
        },
        Qt::QueuedConnection);
    afterPosting();
    release.reset();
    wakeWaiters();
}

void synchronize(QObject* context, const std::function<void()>& task)
{
    std::binary_semaphore done(0);
    handOver(context, task, done);
    done.acquire();
}

void waitForThread(QThread& thread)
{
    const QMetaObject::Connection ended =
        QObject::connect(&thread, &QThread::finished, &thread, &wakeWaiters, Qt::DirectConnection);
    for (;;) {
        const quint64 seen = currentGeneration();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        if (thread.isFinished() || !thread.isRunning()) break;
        sleepUnlessWoken(seen);
    }
    QObject::disconnect(ended);
    thread.wait();
}

} // namespace platform
