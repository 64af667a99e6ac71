#include "library/isconnected.h"

#include <QString>

#include "platform/net.h"

namespace library {

int ping(const QString& host)
{
    return platform::network().echo(host, kPingTimeoutMs);
}

bool Checkhost(const QString& address)
{
    return ping(address) > 0;
}

} // namespace library
