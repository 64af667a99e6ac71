#include "platform/waithelper.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMutex>
#include <QMutexLocker>
#include <QSemaphore>
#include <QThread>
#include <QWaitCondition>
#include <memory>

namespace platform {

namespace {

// Wakes waiting threads when a hand-over is posted or a waited-for thread ends.
// `generation` counts those events; guarded by `mutex`.
struct Wakeups
{
    QMutex mutex;
    QWaitCondition changed;
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
    const QMutexLocker lock(&w.mutex);
    ++w.generation;
    w.changed.wakeAll();
}

quint64 currentGeneration()
{
    Wakeups& w = wakeups();
    const QMutexLocker lock(&w.mutex);
    return w.generation;
}

// A missed wake-up costs at most this long.
constexpr unsigned long kSliceMs = 50;

void sleepUnlessWoken(quint64 seen)
{
    Wakeups& w = wakeups();
    QMutexLocker lock(&w.mutex);
    if (w.generation == seen) w.changed.wait(&w.mutex, kSliceMs);
}

// Releases the worker when the posted call is destroyed: after it ran, or when Qt discarded it
// because the receiver died.
struct Release
{
    explicit Release(QSemaphore& semaphore) : semaphore_(semaphore) {}
    ~Release() { semaphore_.release(); }
    Release(const Release&) = delete;
    Release& operator=(const Release&) = delete;
    QSemaphore& semaphore_;
};

} // namespace

void synchronize(QObject* context, const std::function<void()>& task)
{
    if (!context) return;
    if (QThread::currentThread() == context->thread()) {
        task();
        return;
    }
    QSemaphore done;
    auto release = std::make_shared<Release>(done);
    QMetaObject::invokeMethod(
        context, [task, release] { task(); }, Qt::QueuedConnection);
    release.reset();
    wakeWaiters();
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
