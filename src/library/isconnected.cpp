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
    const QString host = named ? address.left(colon) : address;
    return platform::network().connects(host, named ? namedPort : port, kCheckhostTimeoutMs);
}

} // namespace library
