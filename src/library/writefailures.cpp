#include "library/writefailures.h"

#include <QString>

namespace library {

namespace {

WriteFailureReporter& installedReporter()
{
    static WriteFailureReporter reporter;
    return reporter;
}

} // namespace

void setWriteFailureReporter(WriteFailureReporter reporter)
{
    installedReporter() = std::move(reporter);
}

void reportWriteFailure(const QString& text)
{
    if (installedReporter()) installedReporter()(text);
}

} // namespace library
