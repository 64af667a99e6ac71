#include "jukebox/frameshape.h"

#include <QMouseEvent>
#include <QPainter>

#include "skins/colors.h"

namespace jukebox {

FrameShape::FrameShape(QWidget* parent) : QWidget(parent) {}

void FrameShape::setKind(Kind kind)
{
    kind_ = kind;
    update();
}

void FrameShape::setPen(int32_t color, int width)
{
    penColor_ = color;
    penWidth_ = std::max(0, width);
    update();
}

void FrameShape::setBrush(int32_t color)
{
    filled_ = true;
    brushColor_ = color;
    update();
}

void FrameShape::clearBrush()
{
    filled_ = false;
    update();
}

void FrameShape::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (penWidth_ > 0) {
        QPen pen(skins::tcolorToQColor(penColor_));
        pen.setWidth(penWidth_);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
    } else {
        painter.setPen(Qt::NoPen);
    }
    painter.setBrush(filled_ ? QBrush(skins::tcolorToQColor(brushColor_)) : QBrush(Qt::NoBrush));
    // The outline lies inside the bounds, as wide as the pen.
    const qreal inset = penWidth_ / 2.0;
    const QRectF box = QRectF(rect()).adjusted(inset, inset, -inset, -inset);
    switch (kind_) {
    case Kind::Rectangle:
        painter.drawRect(box);
        break;
    case Kind::RoundRect: {
        const qreal radius = std::min(box.width(), box.height()) / 4.0;
        painter.drawRoundedRect(box, radius, radius);
        break;
    }
    case Kind::Ellipse:
        painter.drawEllipse(box);
        break;
    }
}

void FrameShape::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    Q_EMIT OnMouseDown(this, event->button(), event->modifiers(), at.x(), at.y());
}

void FrameShape::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    Q_EMIT OnMouseUp(this, event->button(), event->modifiers(), at.x(), at.y());
}

} // namespace jukebox
