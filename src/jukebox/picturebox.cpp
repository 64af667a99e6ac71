#include "jukebox/picturebox.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/drawing.h"

namespace jukebox {

PictureBox::PictureBox(QWidget* parent) : OwnerDrawn(parent) {}

void PictureBox::setPicture(const QImage& image)
{
    picture_ = image;
    Paint();
}

void PictureBox::clearPicture()
{
    picture_ = QImage();
    Paint();
}

void PictureBox::setStretch(bool on)
{
    if (stretch_ == on) return;
    stretch_ = on;
    Paint();
}

void PictureBox::setTransparent(bool on)
{
    if (transparent_ == on) return;
    transparent_ = on;
    Paint();
}

QImage PictureBox::keyedPicture() const
{
    if (!transparent_) return picture_;
    return controls::keyedOut(picture_, picture_.pixel(0, picture_.height() - 1));
}

namespace {
// Pictures the screen takes without converting them first.
bool blitsAsItIs(const QImage& picture)
{
    return picture.format() == QImage::Format_RGB32 ||
           picture.format() == QImage::Format_ARGB32_Premultiplied;
}
} // namespace

// An opaque picture stretched over the face, or at least as large as it, paints every pixel.
bool PictureBox::picturePaintsWholeFace() const
{
    if (picture_.isNull() || transparent_ || picture_.hasAlphaChannel()) return false;
    return stretch_ || (picture_.width() >= width() && picture_.height() >= height());
}

void PictureBox::Paint()
{
    // Without a picture the control shows nothing, so it keeps no face (the title strips between
    // two pages).
    if (picture_.isNull()) {
        showFace(QImage());
        return;
    }
    const bool whole = picturePaintsWholeFace();
    // A picture already at the face's size looks the same stretched or not.
    if (whole && picture_.size() == size() && blitsAsItIs(picture_)) {
        // The face is the picture itself: one copy of the pixels, not two.
        showFace(picture_);
        return;
    }
    QImage& canvas = whole ? faceToCover() : clearFace();
    QPainter painter(&canvas);
    if (whole) painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (stretch_) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(canvas.rect(), keyedPicture());
    } else {
        painter.drawImage(QPoint(0, 0), keyedPicture());
    }
    painter.end();
    faceChanged();
}

void PictureBox::mousePressEvent(QMouseEvent* event)
{
    notePress(*event);
    Q_EMIT OnMouseDown(this, event->button(), event->modifiers(), pointer().x(), pointer().y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (noteRelease(*event)) Q_EMIT OnClick(this);
    Q_EMIT OnMouseUp(this, event->button(), event->modifiers(), pointer().x(), pointer().y());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    Q_EMIT OnMouseMove(this, event->modifiers(), at.x(), at.y());
}

} // namespace jukebox
