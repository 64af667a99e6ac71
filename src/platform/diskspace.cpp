#include "platform/diskspace.h"

#include <QString>
#include <filesystem>
#include <system_error>

#include "platform/seam.h"

namespace platform {

namespace {

class FileSystemSpace final : public DiskSpace
{
public:
    qint64 available(const QString& path) override
    {
        std::error_code error;
        const std::filesystem::space_info info = std::filesystem::space(path.toStdString(), error);
        return error ? 0 : qint64(info.available);
    }
};

} // namespace

DiskSpace& diskSpace()
{
    return Seam<DiskSpace, FileSystemSpace>::get();
}

void setDiskSpace(DiskSpace* replacement)
{
    Seam<DiskSpace, FileSystemSpace>::set(replacement);
}

} // namespace platform
