#pragma once

// A disk image made afresh and mounted through FUSE for a test that needs a real file system other
// than the machine's own: NTFS through ntfs-3g (hard links, but no rename flags) or FAT through
// fusefat (neither). Unmounted when it goes. A machine that cannot mount one leaves it unmounted,
// with the reason for the test's skip.

#include <QString>
#include <QTemporaryDir>

class MountedDisk
{
public:
    enum class Kind { Ntfs, Fat };

    // Mounts a new disk of `kind` at the empty folder `at`.
    MountedDisk(Kind kind, const QString& at);
    ~MountedDisk();
    MountedDisk(const MountedDisk&) = delete;
    MountedDisk& operator=(const MountedDisk&) = delete;

    bool mounted() const { return mounted_; }
    // Why it is not mounted.
    const QString& failure() const { return failure_; }
    // The folder the disk is mounted at.
    const QString& path() const { return path_; }

private:
    QTemporaryDir dir_; // holds the image
    QString path_;
    bool mounted_ = false;
    QString failure_;
};
