#pragma once

// The HTTP client: a GET of one address into memory, reporting its progress to a callback that
// can cancel it. Only http and https addresses are fetched; no proxy is used, no redirect is
// followed, and every request has time-outs, so a dead server never holds the caller for long.
// An HTTP error status, a failed connection, a time-out, a cancel and an answer beyond the size
// limit all raise HttpError. A client serves one request at a time on the thread that calls it.

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <stdexcept>

namespace platform {

class HttpError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Time-outs and the size limit of a request.
constexpr long kHttpConnectSeconds = 15;
constexpr long kHttpTotalSeconds = 120;
// A transfer slower than one byte a second for this long is given up.
constexpr long kHttpStallSeconds = 30;
constexpr qint64 kHttpMaxAnswerBytes = qint64(64) << 20;

class HttpClient
{
public:
    HttpClient();
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // Called often while a request runs (at least once a second); returning false cancels it.
    void setprogress(std::function<bool()> progress);

    // GETs `url`, appending the answer's bytes to `into` as they arrive, so whatever came before a
    // failure stays there. Throws HttpError on failure.
    void get(const QString& url, QByteArray& into);

private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
    std::function<bool()> progress_;
};

} // namespace platform
