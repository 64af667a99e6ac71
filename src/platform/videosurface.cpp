#include "platform/videosurface.h"

#include <QPainter>

namespace platform {

VideoSurface::VideoSurface(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents); // clicks belong to the display widget
}

QImage& VideoSurface::frame(const QSize& size)
{
    if (frame_.size() != size) frame_ = QImage(size, QImage::Format_RGB32);
    hasFrame_ = true;
    return frame_;
}

void VideoSurface::clearFrame()
{
    hasFrame_ = false;
    update();
}

void VideoSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!hasFrame_ || frame_.isNull()) return;
    QSize scaled = frame_.size().scaled(size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), scaled);
    target.moveCenter(rect().center());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, frame_);
}

} // namespace platform
