#include "library/isconnected.h"

#include <QString>

#include "platform/net.h"

namespace library {

int ping(const QString& host)
{
    return platform::network().echo(host, kPingTimeoutMs);
}

bool Checkhost(const QString& address, int port)
{
    const qsizetype colon = address.lastIndexOf(QLatin1Char(':'));
    bool named = false;
    const int namedPort = colon < 0 ? 0 : address.mid(colon + 1).toInt(&named);
    if (named) return platform::network().connects(address.left(colon), namedPort, kCheckhostTimeoutMs);
    return platform::network().connects(address, port, kCheckhostTimeoutMs);
}

} // namespace library
