#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {
QString& overrideFolder()
{
    static QString folder;
    return folder;
}
} // namespace

QString programFolder()
{
    if (!overrideFolder().isEmpty()) return overrideFolder();
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    // Before the application object exists Qt cannot tell; the kernel can.
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2);
}

void setProgramFolder(const QString& folder)
{
    overrideFolder() = folder;
}

bool claimProgramFolder()
{
    // A lock on the folder itself: it needs no file in it (the folder may be read-only) and every
    // user who starts the program there meets the same lock. The descriptor stays open, without
    // passing to started programs, for the rest of the process's life.
    const int folder =
        ::open(QFile::encodeName(programFolder()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return true;
    if (::flock(folder, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK) return true;
    ::close(folder);
    return false;
}

} // namespace platform
