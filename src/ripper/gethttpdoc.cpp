#include "ripper/gethttpdoc.h"

#include <QCoreApplication>

#include "platform/http.h"

namespace ripper {

namespace {

const QByteArray kDataAnswer("\nDATA");

bool tell(int32_t level, const QString& message)
{
    return cb ? cb(level, message) : true;
}

// A client whose waiting keeps the screen alive and stops once the request is no longer wanted.
std::unique_ptr<platform::HttpClient> client(const std::function<bool()>& stillwanted)
{
    auto http = std::make_unique<platform::HttpClient>();
    http->setprogress([stillwanted] {
        QCoreApplication::processEvents();
        return !stillwanted || stillwanted();
    });
    return http;
}

} // namespace

bool tgetdoc::getdocument(const QString& url, QByteArray& res, const std::function<bool()>& stillwanted)
{
    res.clear();
    (void)tell(kLevelStep, kContacting);
    try {
        client(stillwanted)->get(url, res);
    } catch (const platform::HttpError&) {
        (void)tell(kLevelContactError, kContactError);
        return false;
    }
    if (res != kDataAnswer) {
        (void)tell(kLevelServersideError, kServersideError);
        return false;
    }
    if (!tell(kLevelStep, kSearching)) return false;
    res.clear();
    try {
        client(stillwanted)->get(url + QStringLiteral("&g=1"), res);
    } catch (const platform::HttpError&) {
        // The pictures that arrived before the failure are still read.
    }
    return tell(kLevelDone, kCompleted);
}

} // namespace ripper
