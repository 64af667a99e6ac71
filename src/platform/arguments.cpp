#include "platform/arguments.h"

#include <QCoreApplication>

namespace platform {

namespace {
const QStringList* installed = nullptr;
} // namespace

QString commandLineArgument(int n)
{
    const QStringList arguments = installed ? *installed : QCoreApplication::arguments();
    return n >= 0 && n < arguments.size() ? arguments.at(n) : QString();
}

void setCommandLineArguments(const QStringList* replacement)
{
    installed = replacement;
}

} // namespace platform
