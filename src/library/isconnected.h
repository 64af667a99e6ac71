#pragma once

// Reachability of other machines: one ICMP echo, and the check that a server answers on its port.
// Both block the calling thread for the name lookup and up to their time-out.

class QString;

namespace library {

constexpr int kPingTimeoutMs = 2000;
constexpr int kCheckhostTimeoutMs = 2000;

// Sends `host` one echo request and waits up to kPingTimeoutMs. The number of replies received
// (0 when none), -1 when the name does not resolve, -2 when no ICMP socket can be made.
[[nodiscard]] int ping(const QString& host);

// True when the server `address` accepts a connection within kCheckhostTimeoutMs: on the port
// that `address` names after a colon ("host:port"), else on `port`. A connection, not an echo:
// networks that drop echo requests still let the servers the program needs answer.
[[nodiscard]] bool Checkhost(const QString& address, int port);

} // namespace library
