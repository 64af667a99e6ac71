#pragma once

// Reachability of other machines: one ICMP echo, and the internet check built on it.
// Both block the calling thread for the name lookup and up to kPingTimeoutMs.

class QString;

namespace library {

constexpr int kPingTimeoutMs = 2000;

// Sends `host` one echo request and waits up to kPingTimeoutMs. The number of replies received
// (0 when none), -1 when the name does not resolve, -2 when no ICMP socket can be made.
[[nodiscard]] int ping(const QString& host);

// True when `address` answers an echo request.
[[nodiscard]] bool Checkhost(const QString& address);

} // namespace library
