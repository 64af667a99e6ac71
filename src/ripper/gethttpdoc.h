#pragma once

// The two-step exchange with the cover-art service: the first GET must answer exactly a line
// feed and "DATA"; the second, the same address with "&g=1", brings the pictures. Every step is
// reported through the callback `cb`, whose answer can stop the exchange. Runs on the GUI thread
// and keeps it alive: while a request waits, pending events are processed.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

namespace ripper {

// Told of each step: level and text (see getdocument). False stops the exchange where the step
// allows it.
using THttpCallback = std::function<bool(int32_t level, const QString& message)>;

// The callback in force; the cover choice window sets it before each lookup.
inline THttpCallback cb;

// Texts and levels of the steps.
inline const QString kContacting = QStringLiteral("Contacting Server");
inline const QString kContactError =
    QStringLiteral("Error Contacting Server.\r\nCheck you have a connection to the internet.");
inline const QString kServersideError = QStringLiteral("Serverside error");
inline const QString kSearching = QStringLiteral("Server Performing Search & Downloading Images");
inline const QString kCompleted = QStringLiteral("Completed");
constexpr int32_t kLevelStep = 1;
constexpr int32_t kLevelDone = 2;
constexpr int32_t kLevelContactError = -1;
constexpr int32_t kLevelServersideError = -10;

struct tgetdoc
{
    // Runs the exchange for `url` into `res`; true only when both steps ran and `cb` accepted the
    // final "Completed". `stillwanted` is asked while a request waits; false cancels the request.
    static bool getdocument(const QString& url, QByteArray& res, const std::function<bool()>& stillwanted);
};

} // namespace ripper
