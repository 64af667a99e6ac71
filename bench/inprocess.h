#pragma once

// What the benchmarks that run the program inside their own process share: a screen of a fixed
// size, the process's resident memory, a thread's CPU time and (from eventwait.h) a bounded wait
// that runs the event loop.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QRect>
#include <time.h>

#include "eventwait.h"
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

} // namespace bench
