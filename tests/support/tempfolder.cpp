#include "tempfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/fatal.h"

TempFolder::TempFolder() = default;

QString TempFolder::file(const QString& relative) const
{
    return dir_.filePath(relative);
}

QString TempFolder::write(const QString& relative, const QByteArray& content) const
{
    const QString full = file(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile out(full);
    if (out.open(QIODevice::WriteOnly)) out.write(content);
    return full;
}

QString TempFolder::mkdir(const QString& relative) const
{
    const QString full = file(relative);
    QDir().mkpath(full);
    return full;
}

QByteArray TempFolder::read(const QString& relative) const
{
    QFile in(file(relative));
    if (!in.open(QIODevice::ReadOnly)) return {};
    return in.readAll();
}

ThrowingHalt::ThrowingHalt()
{
    platform::setHaltHandler([](int code) { throw platform::Halted(code); });
}

ThrowingHalt::~ThrowingHalt()
{
    platform::setHaltHandler({});
}
