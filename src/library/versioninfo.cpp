#include "library/versioninfo.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace library {

QString versionText(int major, int minor, int release, int build)
{
    const QChar dot = QLatin1Char('.');
    return QString::number(major) + dot + QString::number(minor) + dot + QString::number(release) +
           QStringLiteral(" Build: ") + QString::number(build).rightJustified(4, QLatin1Char('0'));
}

QString GetVersionInfo(const QString& FileNameVar)
{
    const QString file = QFileInfo(FileNameVar).canonicalFilePath();
    const QString own = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    if (file.isEmpty() || file != own) return kNoVersionInfo;
    return versionText(MUSETRA_VERSION_MAJOR, MUSETRA_VERSION_MINOR, MUSETRA_VERSION_RELEASE,
                       MUSETRA_VERSION_BUILD);
}

} // namespace library
