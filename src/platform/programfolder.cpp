#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QString>

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

} // namespace platform
