#include "skins/coverloader.h"

#include <QThread>
#include <utility>

#include "platform/threads.h"
#include "skins/loadjpegorbmp.h"

namespace skins {

CoverLoader::CoverLoader(QObject* parent) : QObject(parent) {}

CoverLoader::~CoverLoader()
{
    closing_ = true;
    if (worker_.valid()) worker_.wait();
}

void CoverLoader::load(const QString& folder, QSize wanted, std::function<void(const QImage&)> show)
{
    Q_ASSERT(QThread::currentThread() == thread());
    // The error pictures are made on the window thread before any worker may need them.
    initerrorbitmaps();
    next_ = Request{folder, wanted, std::move(show), ++serial_};
    if (!worker_.valid()) startNext();
}

void CoverLoader::startNext()
{
    Request request = std::move(*next_);
    next_.reset();
    worker_ = platform::startBelowWindowThread([this, request] {
        setLoadCancelled([this, serial = request.serial] { return closing_ || serial_ != serial; });
        QImage picture;
        loadjpegbmp(request.folder, picture, request.wanted);
        // Dropped by Qt when this loader is gone: its destructor waits for this worker first.
        QMetaObject::invokeMethod(
            this, [this, request, picture] { loaded(request, picture); }, Qt::QueuedConnection);
    });
}

void CoverLoader::loaded(const Request& request, const QImage& picture)
{
    worker_.get();
    if (next_) startNext();
    if (request.serial == serial_) request.show(picture);
}

} // namespace skins
