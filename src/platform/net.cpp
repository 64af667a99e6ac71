#include "platform/net.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/seam.h"

namespace platform {

namespace {

struct AddrinfoDeleter
{
    void operator()(addrinfo* list) const { freeaddrinfo(list); }
};
using AddrinfoList = std::unique_ptr<addrinfo, AddrinfoDeleter>;

// A socket descriptor closed when it goes out of scope.
class Socket
{
public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// The Internet checksum of `length` bytes (RFC 1071).
uint16_t checksum(const void* data, size_t length)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    uint32_t sum = 0;
    for (size_t i = 0; i + 1 < length; i += 2)
        sum += uint32_t(bytes[i] << 8 | bytes[i + 1]);
    if (length % 2 != 0) sum += uint32_t(bytes[length - 1] << 8);
    while (sum >> 16)
        sum = (sum & 0xffff) + (sum >> 16);
    return htons(uint16_t(~sum));
}

// The addresses of `host` in `family` for sockets of `type`, with `port` filled in when named;
// empty when the name does not resolve.
AddrinfoList lookUp(const QString& host, int family, int type, const char* port = nullptr)
{
    if (host.isEmpty()) return {};
    addrinfo hints;
    std::memset(&hints, 0, sizeof hints);
    hints.ai_family = family;
    hints.ai_socktype = type;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.toUtf8().constData(), port, &hints, &found) != 0) return {};
    return AddrinfoList(found);
}

bool resolve(const QString& host, sockaddr_in& address)
{
    const AddrinfoList list = lookUp(host, AF_INET, SOCK_DGRAM);
    if (!list || list->ai_addrlen < sizeof address) return false;
    std::memcpy(&address, list->ai_addr, sizeof address);
    return true;
}

class IcmpNetwork final : public Network
{
public:
    int echo(const QString& host, int timeoutMs) override
    {
        sockaddr_in target;
        if (!resolve(host, target)) return kUnresolved;
        // A datagram ICMP socket needs no privilege where net.ipv4.ping_group_range allows it;
        // a raw one needs CAP_NET_RAW.
        bool raw = false;
        int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (fd < 0) {
            raw = true;
            fd = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
        }
        if (fd < 0) return kNoSocket;
        const Socket socket(fd);
        const uint16_t sequence = ++sequence_;
        if (!sendRequest(fd, target, sequence)) return 0;
        return awaitReply(fd, raw, target, sequence, timeoutMs) ? 1 : 0;
    }

    bool connects(const QString& host, int port, int timeoutMs) override
    {
        const AddrinfoList list = lookUp(host, AF_UNSPEC, SOCK_STREAM, QByteArray::number(port).constData());
        const QDeadlineTimer deadline(timeoutMs);
        for (const addrinfo* address = list.get(); address && !deadline.hasExpired();
             address = address->ai_next)
            if (connectsTo(*address, deadline)) return true;
        return false;
    }

private:
    // The identifier of raw echo requests; a datagram socket puts its own there.
    static uint16_t identifier() { return htons(uint16_t(::getpid())); }

    static bool sendRequest(int fd, const sockaddr_in& target, uint16_t sequence)
    {
        icmphdr request;
        std::memset(&request, 0, sizeof request);
        request.type = ICMP_ECHO;
        request.un.echo.id = identifier();
        request.un.echo.sequence = htons(sequence);
        request.checksum = checksum(&request, sizeof request);
        return ::sendto(fd, &request, sizeof request, 0, reinterpret_cast<const sockaddr*>(&target),
                        sizeof target) == ssize_t(sizeof request);
    }

    // Reads answers until our echo reply arrives or the time is up. A raw socket sees every
    // ICMP message of the machine (our own request too, on loopback), so only a reply from the
    // target with our identifier and sequence counts.
    static bool awaitReply(int fd, bool raw, const sockaddr_in& target, uint16_t sequence, int timeoutMs)
    {
        const QDeadlineTimer deadline(timeoutMs);
        std::array<uint8_t, 1500> buffer;
        while (true) {
            pollfd waiting{fd, POLLIN, 0};
            const int ready = ::poll(&waiting, 1, int(deadline.remainingTime()));
            if (ready < 0 && errno == EINTR) continue;
            if (ready <= 0) return false;
            sockaddr_in from;
            socklen_t fromLength = sizeof from;
            const ssize_t received = ::recvfrom(fd, buffer.data(), buffer.size(), 0,
                                                reinterpret_cast<sockaddr*>(&from), &fromLength);
            if (received <= 0) continue;
            if (from.sin_addr.s_addr != target.sin_addr.s_addr) continue;
            size_t offset = 0;
            if (raw) {
                if (size_t(received) < sizeof(iphdr)) continue;
                offset = size_t(reinterpret_cast<const iphdr*>(buffer.data())->ihl) * 4;
            }
            if (size_t(received) < offset + sizeof(icmphdr)) continue;
            icmphdr reply;
            std::memcpy(&reply, buffer.data() + offset, sizeof reply);
            if (reply.type != ICMP_ECHOREPLY || reply.un.echo.sequence != htons(sequence)) continue;
            if (raw && reply.un.echo.id != identifier()) continue;
            return true;
        }
    }

    // A connection attempt that gives up at `deadline`.
    static bool connectsTo(const addrinfo& address, const QDeadlineTimer& deadline)
    {
        const Socket socket(::socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                                     address.ai_protocol));
        if (socket.fd() < 0) return false;
        if (::connect(socket.fd(), address.ai_addr, address.ai_addrlen) == 0) return true;
        if (errno != EINPROGRESS) return false;
        pollfd waiting{socket.fd(), POLLOUT, 0};
        int ready = 0;
        do
            ready = ::poll(&waiting, 1, int(deadline.remainingTime()));
        while (ready < 0 && errno == EINTR);
        if (ready <= 0) return false;
        int error = 0;
        socklen_t length = sizeof error;
        return ::getsockopt(socket.fd(), SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
    }

    uint16_t sequence_ = 0;
};

} // namespace

Network& network()
{
    return Seam<Network, IcmpNetwork>::get();
}

void setNetwork(Network* replacement)
{
    Seam<Network, IcmpNetwork>::set(replacement);
}

} // namespace platform
