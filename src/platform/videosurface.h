#pragma once

// The child widget that shows video frames inside a media player's display widget. The player
// renders each frame into `frame()` and calls `update()`; painting scales the frame into the widget
// keeping its aspect ratio, with black bars.
//
// GUI thread only. Owned by the display widget (its parent); the player holds it by QPointer.

#include <QImage>
#include <QWidget>

namespace platform {

class VideoSurface : public QWidget
{
public:
    explicit VideoSurface(QWidget* parent);

    // The frame buffer, reallocated when `size` changes (contents then undefined).
    QImage& frame(const QSize& size);
    const QImage& frame() const { return frame_; }
    // Forgets the last frame; the surface paints black until the next one.
    void clearFrame();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage frame_;
    bool hasFrame_ = false;
};

} // namespace platform
