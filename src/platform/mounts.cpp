#include "platform/mounts.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace platform {

namespace {

// The table writes blanks and some other characters as a backslash and three octal digits.
QString unescaped(const QString& field)
{
    QString text;
    for (qsizetype i = 0; i < field.size(); ++i) {
        bool octal = false;
        if (field[i] == QLatin1Char('\\') && i + 3 < field.size()) {
            const int code = field.mid(i + 1, 3).toInt(&octal, 8);
            if (octal) {
                text += QChar(code);
                i += 3;
                continue;
            }
        }
        text += field[i];
    }
    return text;
}

QString resolved(const QString& device)
{
    const QString target = QFileInfo(device).canonicalFilePath();
    return target.isEmpty() ? device : target;
}

} // namespace

QString mountpointIn(const QString& mounts, const QString& device)
{
    if (device.isEmpty()) return {};
    const QString wanted = resolved(device);
    for (const QString& line : mounts.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char(' '));
        if (fields.size() >= 2 && resolved(unescaped(fields[0])) == wanted) return unescaped(fields[1]);
    }
    return {};
}

QString mountpoint(const QString& device)
{
    QFile table(QStringLiteral("/proc/mounts"));
    if (!table.open(QIODevice::ReadOnly)) return {};
    return mountpointIn(QString::fromUtf8(table.readAll()), device);
}

} // namespace platform
