#include "mounteddisk.h"

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <sys/vfs.h>

namespace {

constexpr qint64 kImageBytes = qint64(64) << 20;
constexpr int kRunMs = 30000;
constexpr long kFuseMagic = 0x65735546;

// Runs `program` with `arguments`; empty when it ended well, else what went wrong.
QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(kRunMs))
        return program + QStringLiteral(" did not run: ") + process.errorString();
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0) return {};
    return program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAll()).trimmed();
}

bool isFuseMount(const QString& path)
{
    struct statfs status
    {
    };
    return ::statfs(QFile::encodeName(path).constData(), &status) == 0 && status.f_type == kFuseMagic;
}

} // namespace

MountedDisk::MountedDisk(Kind kind, const QString& at) : path_(at)
{
    const QString image = dir_.filePath(QStringLiteral("disk.img"));
    QFile file(image);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(kImageBytes)) {
        failure_ = QStringLiteral("no room for a disk image");
        return;
    }
    file.close();
    const bool ntfs = kind == Kind::Ntfs;
    failure_ = ntfs ? run(QStringLiteral("mkfs.ntfs"),
                          {QStringLiteral("-F"), QStringLiteral("-Q"), QStringLiteral("-q"), image})
                    : run(QStringLiteral("mkfs.fat"), {image});
    if (failure_.isEmpty())
        failure_ = ntfs ? run(QStringLiteral("ntfs-3g"), {image, path()})
                        : run(QStringLiteral("fusefat"),
                              {QStringLiteral("-o"), QStringLiteral("rw+"), image, path()});
    mounted_ = failure_.isEmpty() && isFuseMount(path());
    if (failure_.isEmpty() && !mounted_) failure_ = QStringLiteral("the disk did not show as mounted");
}

MountedDisk::~MountedDisk()
{
    if (mounted_ && !run(QStringLiteral("fusermount"), {QStringLiteral("-u"), path()}).isEmpty())
        (void)run(QStringLiteral("umount"), {QStringLiteral("-l"), path()});
}
