#include "platform/clock.h"

#include "platform/seam.h"

namespace platform {

namespace {

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
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
