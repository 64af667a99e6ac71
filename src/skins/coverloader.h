#pragma once

// Loads album covers off the window thread, one at a time: a huge cover file takes its decoding
// time on a worker, never on the window. The picture of the latest request reaches its handler on
// the window thread; a request supersedes any earlier one still loading (a load still waiting for
// its turn at a large cover gives up) or waiting. Window thread only; the destructor waits for the
// load in progress.

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <atomic>
#include <functional>
#include <future>
#include <optional>

namespace skins {

class CoverLoader : public QObject
{
    Q_OBJECT

public:
    explicit CoverLoader(QObject* parent = nullptr);
    ~CoverLoader() override;

    // Loads the cover of the album folder `folder` as loadjpegbmp does with `wanted`, and hands it
    // to `show` unless another request comes first.
    void load(const QString& folder, QSize wanted, std::function<void(const QImage&)> show);

    // True while a requested picture has still to reach its handler.
    bool loading() const { return worker_.valid() || next_.has_value(); }

private:
    struct Request
    {
        QString folder;
        QSize wanted;
        std::function<void(const QImage&)> show;
        quint64 serial = 0;
    };

    void startNext();
    void loaded(const Request& request, const QImage& picture);

    std::atomic<quint64> serial_{0};
    std::atomic<bool> closing_{false};
    std::optional<Request> next_;
    std::future<void> worker_;
};

} // namespace skins
