#pragma once

// Free space of a disk: the bytes an unprivileged program may still write on the volume that
// holds a path. GUI thread only; the seam object is owned by whoever installs it.

#include <QtGlobal>

class QString;

namespace platform {

class DiskSpace
{
public:
    virtual ~DiskSpace() = default;
    // 0 when the path does not exist or its volume cannot be asked.
    [[nodiscard]] virtual qint64 available(const QString& path) = 0;
};

// The disk space seam in force: the file system's unless a test installed another.
DiskSpace& diskSpace();
// Installs another seam (not owned); nullptr restores the file system's.
void setDiskSpace(DiskSpace* replacement);

} // namespace platform
