#include "ripper/internet.h"

#include <QString>

#include "library/global.h"
#include "library/isconnected.h"
#include "library/runprogram.h"
#include "ripper/serverwait.h"

namespace ripper {

namespace {

const QString kDialUpProgram = QStringLiteral("rasdialr.exe");
const QString kConnected = QStringLiteral("connected");
// Both servers speak HTTP, on its port unless the setting names another.
constexpr int kHttpPort = 80;

bool serverAnswers(const QString& server)
{
    ServerWait wait;
    return wait.call<bool>([server] { return library::Checkhost(server, kHttpPort); }).value_or(false);
}

} // namespace

bool cddbServerReachable()
{
    return serverAnswers(library::config.cddbserver);
}

bool coverServiceReachable()
{
    return serverAnswers(library::config.artworkhost);
}

bool dialUp()
{
    return library::runAndWaitForReport(kDialUpProgram) == kConnected;
}

} // namespace ripper
