#include "platform/mailslot.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/files.h"

namespace platform {

namespace {

// The socket address of `path`; false when the path does not fit into one.
bool socketAddress(const QString& path, sockaddr_un& address)
{
    const QByteArray encoded = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (encoded.isEmpty() || encoded.size() >= qsizetype(sizeof address.sun_path)) return false;
    std::memcpy(address.sun_path, encoded.constData(), size_t(encoded.size()));
    return true;
}

int datagramSocket()
{
    return ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
}

// True when a program reads the mailslot at `address`.
bool someoneReads(const sockaddr_un& address)
{
    const int fd = datagramSocket();
    if (fd < 0) return false;
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

} // namespace

QString mailslotPath(const QString& name)
{
    // RuntimeLocation is $XDG_RUNTIME_DIR, or a temporary folder only this user may enter.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!folder.isEmpty()) return joinPath(folder, name);
    // Every user shares this folder: the user's id keeps their mailslots apart.
    return joinPath(QDir::tempPath(), name + QLatin1Char('-') + QString::number(::getuid()));
}

QString displayMailslotName(const QString& name)
{
    QString display = QString::fromLocal8Bit(qgetenv("DISPLAY"));
    if (display.isEmpty()) display = QString::fromLocal8Bit(qgetenv("WAYLAND_DISPLAY"));
    // A display named by a socket path ends in its own name.
    display = display.section(QLatin1Char('/'), -1);
    return display.isEmpty() ? name : name + QLatin1Char('-') + display;
}

bool writeMailslot(const QString& name, const QByteArray& message)
{
    sockaddr_un address;
    if (!socketAddress(mailslotPath(name), address)) return false;
    const int fd = datagramSocket();
    if (fd < 0) return false;
    const ssize_t sent =
        ::sendto(fd, message.constData(), size_t(message.size()), MSG_DONTWAIT | MSG_NOSIGNAL,
                 reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::close(fd);
    return sent == message.size();
}

Mailslot::~Mailslot()
{
    close();
}

bool Mailslot::open(const QString& name)
{
    close();
    const QString path = mailslotPath(name);
    sockaddr_un address;
    if (!socketAddress(path, address)) return false;
    const int fd = datagramSocket();
    if (fd < 0) return false;
    auto bindTo = [&] {
        return ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    };
    bool bound = bindTo();
    if (!bound && errno == EADDRINUSE && !someoneReads(address)) {
        QFile::remove(path);
        bound = bindTo();
    }
    if (!bound) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    path_ = path;
    return true;
}

bool Mailslot::close()
{
    if (fd_ < 0) return false;
    ::close(fd_);
    fd_ = -1;
    QFile::remove(path_);
    path_.clear();
    return true;
}

QByteArray Mailslot::read(int maxSize)
{
    if (fd_ < 0 || maxSize <= 0) return {};
    QByteArray message(maxSize, Qt::Uninitialized);
    // MSG_TRUNC makes recv report the whole length; the part beyond the buffer is dropped.
    const ssize_t received = ::recv(fd_, message.data(), size_t(maxSize), MSG_DONTWAIT | MSG_TRUNC);
    if (received <= 0) return {};
    message.truncate(qMin(qsizetype(received), qsizetype(maxSize)));
    return message;
}

} // namespace platform
