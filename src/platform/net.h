#pragma once

// The network facilities the program needs: one ICMP echo to a named host, and whether a server
// accepts a connection on its port.
// Lookups and the echo block the calling thread (at most the time-out plus the name lookup).
// The seam object is owned by whoever installs it.

class QString;

namespace platform {

class Network
{
public:
    // Results of echo besides the number of replies.
    static constexpr int kUnresolved = -1;
    static constexpr int kNoSocket = -2;

    virtual ~Network() = default;

    // Looks `host` up (first IPv4 address of the answer), sends it one ICMP echo request without
    // data and waits up to `timeoutMs` for the reply. The number of replies (0 or 1), kUnresolved
    // when the name does not resolve (nothing is sent then), kNoSocket when the system grants
    // no ICMP socket.
    [[nodiscard]] virtual int echo(const QString& host, int timeoutMs) = 0;

    // True when `host` accepts a TCP connection on `port` within `timeoutMs` (the name lookup
    // not counted); the connection is closed at once.
    [[nodiscard]] virtual bool connects(const QString& host, int port, int timeoutMs) = 0;
};

// The network seam in force: the real one unless a test installed another.
Network& network();
// Installs another seam (not owned); nullptr restores the real one.
void setNetwork(Network* replacement);

} // namespace platform
