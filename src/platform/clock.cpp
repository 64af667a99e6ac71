#include "platform/clock.h"

#include <QDeadlineTimer>

#include "platform/seam.h"

namespace platform {

namespace {

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 steadyMs() const override { return QDeadlineTimer::current().deadline(); }
};

} // namespace

Clock& clock()
{
    return Seam<Clock, SystemClock>::get();
}

void setClock(Clock* replacement)
{
    Seam<Clock, SystemClock>::set(replacement);
}

} // namespace platform
