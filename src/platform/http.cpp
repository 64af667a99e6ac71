#include "platform/http.h"

#include <QLoggingCategory>
#include <exception>
#include <optional>

#include <curl/curl.h>

#include "platform/libraryfunctions.h"

namespace platform {

namespace {

Q_LOGGING_CATEGORY(lcHttp, "musetra.http")

// The libcurl functions the client calls, loaded with the library on the first request.
struct Libcurl
{
    CURLcode (*globalInit)(long) = nullptr;
    CURL* (*easyInit)() = nullptr;
    CURLcode (*easySetopt)(CURL*, CURLoption, ...) = nullptr;
    CURLcode (*easyPerform)(CURL*) = nullptr;
    const char* (*easyStrerror)(CURLcode) = nullptr;
    void (*easyCleanup)(CURL*) = nullptr;
};

std::optional<Libcurl> loadLibcurl()
{
    LibraryFunctions library(QStringLiteral(MUSETRA_LIBCURL));
    Libcurl functions;
    library.resolve(functions.globalInit, "curl_global_init");
    library.resolve(functions.easyInit, "curl_easy_init");
    library.resolve(functions.easySetopt, "curl_easy_setopt");
    library.resolve(functions.easyPerform, "curl_easy_perform");
    library.resolve(functions.easyStrerror, "curl_easy_strerror");
    library.resolve(functions.easyCleanup, "curl_easy_cleanup");
    if (!library.complete()) {
        qCWarning(lcHttp) << "libcurl cannot be loaded:" << library.errorString();
        return std::nullopt;
    }
    functions.globalInit(CURL_GLOBAL_DEFAULT);
    return functions;
}

// libcurl, loaded and set up once for the process; null when it cannot be loaded.
const Libcurl* libcurl()
{
    static const std::optional<Libcurl> loaded = loadLibcurl();
    return loaded ? &*loaded : nullptr;
}

struct CurlDeleter
{
    void operator()(CURL* curl) const
    {
        if (curl) libcurl()->easyCleanup(curl);
    }
};

// What the libcurl callbacks share with `get`; no exception crosses libcurl's frames.
struct Transfer
{
    QByteArray* into = nullptr;
    const std::function<bool()>* progress = nullptr;
    bool cancelled = false;
    bool tooLarge = false;
    std::exception_ptr error;
};

size_t writeAnswer(char* data, size_t size, size_t count, void* userdata)
{
    auto* transfer = static_cast<Transfer*>(userdata);
    const size_t bytes = size * count;
    if (transfer->into->size() + qint64(bytes) > kHttpMaxAnswerBytes) {
        transfer->tooLarge = true;
        return 0;
    }
    transfer->into->append(data, qsizetype(bytes));
    return bytes;
}

int reportProgress(void* userdata, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    auto* transfer = static_cast<Transfer*>(userdata);
    if (!*transfer->progress) return 0;
    try {
        transfer->cancelled = !(*transfer->progress)();
    } catch (...) {
        transfer->error = std::current_exception();
        transfer->cancelled = true;
    }
    return transfer->cancelled ? 1 : 0;
}

void setOptions(const Libcurl& lib, CURL* curl, const QByteArray& url, Transfer& transfer)
{
    lib.easySetopt(curl, CURLOPT_URL, url.constData());
    lib.easySetopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    lib.easySetopt(curl, CURLOPT_PROXY, "");
    lib.easySetopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    lib.easySetopt(curl, CURLOPT_NOSIGNAL, 1L);
    lib.easySetopt(curl, CURLOPT_FAILONERROR, 1L);
    lib.easySetopt(curl, CURLOPT_CONNECTTIMEOUT, kHttpConnectSeconds);
    lib.easySetopt(curl, CURLOPT_TIMEOUT, kHttpTotalSeconds);
    lib.easySetopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    lib.easySetopt(curl, CURLOPT_LOW_SPEED_TIME, kHttpStallSeconds);
    lib.easySetopt(curl, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(kHttpMaxAnswerBytes));
    lib.easySetopt(curl, CURLOPT_WRITEFUNCTION, writeAnswer);
    lib.easySetopt(curl, CURLOPT_WRITEDATA, &transfer);
    lib.easySetopt(curl, CURLOPT_NOPROGRESS, 0L);
    lib.easySetopt(curl, CURLOPT_XFERINFOFUNCTION, reportProgress);
    lib.easySetopt(curl, CURLOPT_XFERINFODATA, &transfer);
}

} // namespace

struct HttpClient::Handle
{
    std::unique_ptr<CURL, CurlDeleter> curl;
};

HttpClient::HttpClient() : handle_(std::make_unique<Handle>())
{
    if (const Libcurl* lib = libcurl()) handle_->curl.reset(lib->easyInit());
}

HttpClient::~HttpClient() = default;

void HttpClient::setprogress(std::function<bool()> progress)
{
    progress_ = std::move(progress);
}

void HttpClient::get(const QString& url, QByteArray& into)
{
    CURL* curl = handle_->curl.get();
    if (!curl) throw HttpError("the HTTP client could not be created");
    Transfer transfer;
    transfer.into = &into;
    transfer.progress = &progress_;
    const QByteArray address = url.toUtf8();
    const Libcurl& lib = *libcurl();
    setOptions(lib, curl, address, transfer);
    const CURLcode result = lib.easyPerform(curl);
    if (transfer.error) std::rethrow_exception(transfer.error);
    if (result == CURLE_OK) return;
    qCInfo(lcHttp) << "GET" << url << "failed:" << lib.easyStrerror(result);
    if (transfer.cancelled) throw HttpError("the request was cancelled");
    if (transfer.tooLarge) throw HttpError("the answer is too large");
    throw HttpError(lib.easyStrerror(result));
}

} // namespace platform
