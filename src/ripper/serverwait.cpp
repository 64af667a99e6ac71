#include "ripper/serverwait.h"

#include <QEventLoop>
#include <QScopedValueRollback>
#include <mutex>
#include <thread>

namespace ripper {

namespace {

// What one exchange's thread and the wait for it share (under `mutex`): whether the work has
// finished, and the loop to end then, as long as one still waits.
struct Exchange
{
    std::mutex mutex;
    bool finished = false;
    QEventLoop* waiting = nullptr;
};

} // namespace

bool ServerWait::run(const std::function<void()>& work)
{
    QEventLoop loop;
    auto exchange = std::make_shared<Exchange>();
    exchange->waiting = &loop;
    // Detached: an exchange given up is never joined. Posting under the lock keeps the loop alive
    // until the call is queued; a loop that goes first drops the queued call with itself.
    std::thread([exchange, work] {
        work();
        const std::lock_guard lock(exchange->mutex);
        exchange->finished = true;
        if (exchange->waiting)
            QMetaObject::invokeMethod(exchange->waiting, &QEventLoop::quit, Qt::QueuedConnection);
    }).detach();
    const QScopedValueRollback current(loop_, &loop);
    abandoned_ = false;
    loop.exec();
    const std::lock_guard lock(exchange->mutex);
    exchange->waiting = nullptr;
    // A quitting application ends the loop early: the exchange is given up then too.
    return exchange->finished && !abandoned_;
}

void ServerWait::abandon()
{
    if (!loop_) return;
    abandoned_ = true;
    loop_->quit();
}

} // namespace ripper
