#include "library/profiling.h"

#include <QElapsedTimer>
#include <QLoggingCategory>

namespace library {

namespace {

Q_LOGGING_CATEGORY(lcProfile, "musetra.profile", QtInfoMsg)

// Starts refused because the stack was full; their ends must not end an outer measurement.
int32_t untimedDepth = 0;

uint32_t tickCount()
{
    QElapsedTimer clock;
    clock.start();
    return uint32_t(clock.msecsSinceReference());
}

} // namespace

void startprofiletimer(const QString& name)
{
    if (stackcount + 1 >= kProfileDepth) {
        ++untimedDepth;
        return;
    }
    const uint32_t t = tickCount();
    ++stackcount;
    timerstack[size_t(stackcount)] = {name, t};
    qCDebug(lcProfile).noquote() << QStringLiteral("PROFILE START: ") + name + QStringLiteral(" @ ") +
                                        QString::number(t);
}

void endprofiletimer()
{
    if (untimedDepth > 0) {
        --untimedDepth;
        return;
    }
    if (stackcount < 0) return;
    const uint32_t t = tickCount();
    const tprofilerec& top = timerstack[size_t(stackcount)];
    // Unsigned arithmetic keeps the elapsed time right across a wrap of the tick count.
    qCDebug(lcProfile).noquote() << QStringLiteral("PROFILE END: ") + top.name + QStringLiteral(" @ ") +
                                        QString::number(t) + QStringLiteral(" ELAPSED: ") +
                                        QString::number(uint32_t(t - top.starttime));
    if (stackcount > 0) --stackcount;
}

void resetprofiling()
{
    timerstack.fill({});
    stackcount = -1;
    untimedDepth = 0;
}

} // namespace library
