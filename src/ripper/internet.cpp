#include "ripper/internet.h"

#include <QString>

#include "library/isconnected.h"
#include "library/runprogram.h"

namespace ripper {

namespace {
const QString kInternetCheckAddress = QStringLiteral("8.8.8.8");
const QString kDialUpProgram = QStringLiteral("rasdialr.exe");
const QString kConnected = QStringLiteral("connected");
} // namespace

bool internetReachable()
{
    return library::Checkhost(kInternetCheckAddress);
}

bool dialUp()
{
    return library::runAndWaitForReport(kDialUpProgram) == kConnected;
}

} // namespace ripper
