#pragma once

// Where a disc is mounted: the folder at which the system shows the file system of a device (the
// pictures on a CD are looked for there). Plain functions, any thread.

#include <QString>

namespace platform {

// The mount point of `device` (a device path such as "/dev/sr0", links followed) in the mount
// table text `mounts` (the format of /proc/mounts); empty when it is not mounted.
QString mountpointIn(const QString& mounts, const QString& device);

// The same from the system's mount table.
QString mountpoint(const QString& device);

} // namespace platform
