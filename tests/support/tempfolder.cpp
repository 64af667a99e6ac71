#include "tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/fatal.h"

TempFolder::TempFolder() = default;

QString TempFolder::file(const QString& relative) const
{
    return dir_.filePath(relative);
}

QString TempFolder::write(const QString& relative, const QByteArray& content) const
{
    const QString full = file(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile out(full);
    if (out.open(QIODevice::WriteOnly)) out.write(content);
    return full;
}

QString TempFolder::mkdir(const QString& relative) const
{
    const QString full = file(relative);
    QDir().mkpath(full);
    return full;
}

QByteArray TempFolder::read(const QString& relative) const
{
    QFile in(file(relative));
    if (!in.open(QIODevice::ReadOnly)) return {};
    return in.readAll();
}

QString TempFolder::makeFifo(const QString& relative) const
{
    const QString full = file(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    ::mkfifo(QFile::encodeName(full).constData(), 0600);
    return full;
}

FifoGuard::FifoGuard(const QString& fifo)
    : thread_([this, name = QFile::encodeName(fifo)] {
          using namespace std::chrono_literals;
          std::unique_lock lock(mutex_);
          if (stop_.wait_for(lock, 20s, [this] { return stopping_; })) return;
          while (!stop_.wait_for(lock, 50ms, [this] { return stopping_; })) {
              const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
              if (fd < 0) continue; // no reader waits yet
              released_ = true;
              ::close(fd);
          }
      })
{
}

FifoGuard::~FifoGuard()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    stop_.notify_one();
    thread_.join();
}

ThrowingHalt::ThrowingHalt()
{
    platform::setHaltHandler([](int code) { throw platform::Halted(code); });
}

ThrowingHalt::~ThrowingHalt()
{
    platform::setHaltHandler({});
}
