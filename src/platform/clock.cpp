#include "platform/clock.h"

#include "platform/seam.h"

namespace platform {

namespace {

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

Seam<Clock, SystemClock> seam;

} // namespace

Clock& clock()
{
    return seam.get();
}

void setClock(Clock* replacement)
{
    seam.set(replacement);
}

} // namespace platform
