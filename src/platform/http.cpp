#include "platform/http.h"

#include <QLoggingCategory>
#include <exception>
#include <mutex>

#include <curl/curl.h>

namespace platform {

namespace {

Q_LOGGING_CATEGORY(lcHttp, "musetra.http")

struct CurlDeleter
{
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};

void initialiseCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

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

void setOptions(CURL* curl, const QByteArray& url, Transfer& transfer)
{
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, kHttpConnectSeconds);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, kHttpTotalSeconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kHttpStallSeconds);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(kHttpMaxAnswerBytes));
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, writeAnswer);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, reportProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
}

} // namespace

struct HttpClient::Handle
{
    std::unique_ptr<CURL, CurlDeleter> curl;
};

HttpClient::HttpClient() : handle_(std::make_unique<Handle>())
{
    initialiseCurlOnce();
    handle_->curl.reset(curl_easy_init());
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
    setOptions(curl, address, transfer);
    const CURLcode result = curl_easy_perform(curl);
    if (transfer.error) std::rethrow_exception(transfer.error);
    if (result == CURLE_OK) return;
    qCInfo(lcHttp) << "GET" << url << "failed:" << curl_easy_strerror(result);
    if (transfer.cancelled) throw HttpError("the request was cancelled");
    if (transfer.tooLarge) throw HttpError("the answer is too large");
    throw HttpError(curl_easy_strerror(result));
}

} // namespace platform
