#pragma once

// A bounded wait on the window thread: the event loop runs until a condition holds or the bound
// passes, looking every 10 ms, so the wait itself costs the thread next to nothing. A benchmark
// whose work never comes then fails with what it waited for instead of hanging the run.

#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <functional>

namespace bench {

// Runs the event loop until `done`, for `boundMs` at most; whether it is done.
inline bool waitUntil(const std::function<bool()>& done, qint64 boundMs)
{
    if (done()) return true;
    QEventLoop loop;
    QElapsedTimer waited;
    waited.start();
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done() || waited.hasExpired(boundMs)) loop.quit();
    });
    poll.start();
    loop.exec();
    return done();
}

// Runs the event loop until `thread` has ended, for `boundMs` at most; whether it has. The end is
// seen at once, not at the next look.
inline bool waitForEnd(const QThread& thread, int boundMs)
{
    QEventLoop loop;
    QObject::connect(&thread, &QThread::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(boundMs, &loop, &QEventLoop::quit);
    if (!thread.isFinished()) loop.exec();
    return thread.isFinished();
}

} // namespace bench
