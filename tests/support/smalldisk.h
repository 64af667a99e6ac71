#pragma once

// A small tmpfs mounted on a folder while the object lives, for tests that need a disk that is
// really full. Mounting needs root; where it is refused, mounted() is false and the test skips.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cerrno>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

class SmallDisk
{
public:
    // Mounts a tmpfs of `pages` pages on `folder`, which is made when missing.
    SmallDisk(const QString& folder, int pages) : folder_(folder)
    {
        (void)QDir().mkpath(folder);
        const QByteArray options = "size=" + QByteArray::number(qint64(pages) * pageSize());
        mounted_ = ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                           options.constData()) == 0;
    }
    ~SmallDisk()
    {
        if (mounted_) (void)::umount2(QFile::encodeName(folder_).constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }

    // The disk's unit: a file takes whole pages, and a write that needs one more page than the disk
    // has left gets only what fits in the pages its file already holds.
    static qint64 pageSize() { return ::sysconf(_SC_PAGESIZE); }

    // Takes every free page with a file of its own; true when the disk is then full.
    bool fill() const
    {
        const int fd =
            ::open(QFile::encodeName(filler()).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
        if (fd < 0) return false;
        const QByteArray page(pageSize(), 'f');
        ssize_t written = 0;
        while ((written = ::write(fd, page.constData(), size_t(page.size()))) > 0) {
        }
        const bool full = written < 0 && errno == ENOSPC;
        ::close(fd);
        return full;
    }

    // Gives back the pages fill took.
    void free() const { QFile::remove(filler()); }

private:
    QString filler() const { return folder_ + QStringLiteral("/filler"); }

    QString folder_;
    bool mounted_ = false;
};
