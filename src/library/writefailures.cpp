#include "library/writefailures.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <utility>

namespace library {

namespace {

WriteFailureReporter& installedReporter()
{
    static WriteFailureReporter reporter;
    return reporter;
}

// The file and the text of each failure that stands.
QList<std::pair<QString, QString>>& standing()
{
    static QList<std::pair<QString, QString>> failures;
    return failures;
}

} // namespace

void setWriteFailureReporter(WriteFailureReporter reporter)
{
    installedReporter() = std::move(reporter);
}

void reportWriteFailure(const QString& file, const QString& text)
{
    auto& failures = standing();
    const auto found = std::find_if(failures.begin(), failures.end(),
                                    [&file](const auto& failure) { return failure.first == file; });
    if (found == failures.end())
        failures.append({file, text});
    else
        found->second = text;
    if (installedReporter()) installedReporter()(text);
}

void reportWriteSuccess(const QString& file)
{
    const bool ended =
        standing().removeIf([&file](const auto& failure) { return failure.first == file; }) > 0;
    if (ended && installedReporter()) installedReporter()(QString());
}

QStringList standingWriteFailures()
{
    QStringList texts;
    for (const auto& failure : standing())
        texts.append(failure.second);
    return texts;
}

void clearWriteFailures()
{
    standing().clear();
}

} // namespace library
