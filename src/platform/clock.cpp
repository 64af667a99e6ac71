#include "platform/clock.h"

namespace platform {

namespace {

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

Clock* installed = nullptr;

} // namespace

Clock& clock()
{
    if (installed) return *installed;
    static SystemClock system;
    return system;
}

void setClock(Clock* replacement)
{
    installed = replacement;
}

} // namespace platform
