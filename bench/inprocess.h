#pragma once

// What the benchmarks that run the program inside their own process share: a screen of a fixed
// size, the process's resident memory, a thread's CPU time and a wait that runs the event loop.

#include <QByteArray>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QList>
#include <QRect>
#include <QTimer>
#include <functional>
#include <time.h>

#include "platform/screens.h"

namespace bench {

class FixedScreens final : public platform::Screens
{
public:
    explicit FixedScreens(QSize size) : bounds_(QPoint(0, 0), size) {}
    QRect geometry(const QWidget*) const override { return bounds_; }

private:
    QRect bounds_;
};

inline qint64 residentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLongLong() * 1024;
    return -1;
}

// The CPU time `clock` (CLOCK_THREAD_CPUTIME_ID: the calling thread; CLOCK_PROCESS_CPUTIME_ID: all
// of them) has used, in ms.
inline double cpuMs(clockid_t clock = CLOCK_THREAD_CPUTIME_ID)
{
    timespec used{};
    clock_gettime(clock, &used);
    return double(used.tv_sec) * 1e3 + double(used.tv_nsec) / 1e6;
}

// Runs the event loop until `done`, looking every 10 ms (the wait itself costs the thread next to
// nothing), or until `mostMs` have passed; whether `done` came.
inline bool waitUntil(const std::function<bool()>& done, qint64 mostMs = -1)
{
    QElapsedTimer waited;
    waited.start();
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(10);
    bool came = done();
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        came = done();
        if (came || (mostMs >= 0 && waited.elapsed() > mostMs)) loop.quit();
    });
    poll.start();
    if (!came) loop.exec();
    return came;
}

} // namespace bench
