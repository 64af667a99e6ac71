#include "ripper/serverwait.h"

#include <QEventLoop>
#include <QThread>
#include <QScopedValueRollback>
#include <algorithm>

#include "platform/waithelper.h"

namespace ripper {

ServerWait::ServerWait() = default;

ServerWait::~ServerWait()
{
    for (const std::unique_ptr<QThread>& thread : threads_)
        platform::waitForThread(*thread);
}

bool ServerWait::run(const std::function<void()>& work)
{
    std::erase_if(threads_, [](const std::unique_ptr<QThread>& thread) { return thread->isFinished(); });
    QThread* thread = threads_.emplace_back(QThread::create(work)).get();
    QEventLoop loop;
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    const QScopedValueRollback current(loop_, &loop);
    abandoned_ = false;
    thread->start();
    if (!thread->isFinished()) loop.exec();
    if (abandoned_) return false;
    // A quitting application ends the loop early; the exchange is still waited for.
    platform::waitForThread(*thread);
    return true;
}

void ServerWait::abandon()
{
    if (!loop_) return;
    abandoned_ = true;
    loop_->quit();
}

} // namespace ripper
