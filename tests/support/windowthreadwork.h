#pragma once

// What held the window thread while a test ran: its own work on a CPU and its waits in calls and on
// locks, never the time a loaded machine keeps it waiting for a CPU nor the event loop's idle wait.
// The thread's time is cut into stretches at each event-loop wait (glib's poll, which every Qt event
// loop of the thread runs, nested ones included); a stretch counts its wall time less the time the
// thread spent runnable but off a CPU (the scheduler's "run delay"). Window thread only; one watch
// at a time.

#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <functional>
#include <glib.h>
#include <poll.h>

class WindowThreadWork
{
public:
    WindowThreadWork()
    {
        current_ = this;
        previousPoll_ = g_main_context_get_poll_func(g_main_context_default());
        g_main_context_set_poll_func(g_main_context_default(), &WindowThreadWork::poll);
        startStretch();
    }
    ~WindowThreadWork()
    {
        g_main_context_set_poll_func(g_main_context_default(), previousPoll_);
        current_ = nullptr;
    }
    WindowThreadWork(const WindowThreadWork&) = delete;
    WindowThreadWork& operator=(const WindowThreadWork&) = delete;

    // The longest stretch so far, the one under way included, in ms.
    qint64 longestMs()
    {
        endStretch();
        startStretch();
        return longestNs_ / 1000000;
    }

private:
    // The calling thread's time so far runnable but waiting for a CPU, in ns (the second field of
    // the kernel's scheduler statistics).
    static qint64 runDelayNs()
    {
        QFile stat(QStringLiteral("/proc/thread-self/schedstat"));
        return stat.open(QIODevice::ReadOnly) ? stat.readAll().split(' ').value(1).toLongLong() : 0;
    }

    static gint poll(GPollFD* fds, guint count, gint timeoutMs)
    {
        WindowThreadWork* const self = current_;
        if (self) self->endStretch();
        const gint ready = ::poll(reinterpret_cast<pollfd*>(fds), count, timeoutMs);
        if (self) self->startStretch();
        return ready;
    }

    void startStretch()
    {
        stretch_.start();
        runDelayAtStart_ = runDelayNs();
    }
    void endStretch()
    {
        const qint64 own = stretch_.nsecsElapsed() - (runDelayNs() - runDelayAtStart_);
        longestNs_ = std::max(longestNs_, own);
    }

    static inline WindowThreadWork* current_ = nullptr;
    GPollFunc previousPoll_ = nullptr;
    QElapsedTimer stretch_;
    qint64 runDelayAtStart_ = 0;
    qint64 longestNs_ = 0;
};

// The longest the window thread was held by its own work and waits while `during` ran, in ms.
inline qint64 windowThreadHeldWhile(const std::function<void()>& during)
{
    WindowThreadWork work;
    during();
    return work.longestMs();
}
