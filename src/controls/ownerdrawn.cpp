#include "controls/ownerdrawn.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace controls {

OwnerDrawn::OwnerDrawn(QWidget* parent) : QWidget(parent) {}

QImage& OwnerDrawn::clearFace()
{
    QImage& face = faceToCover();
    face.fill(Qt::transparent);
    return face;
}

QImage& OwnerDrawn::faceToCover()
{
    // The last face is drawn over when it still fits and nothing else holds it: a new one of a
    // large control costs fresh memory every time.
    const QSize wanted = size().expandedTo(QSize(1, 1));
    if (face_.size() != wanted || face_.format() != QImage::Format_ARGB32_Premultiplied ||
        !face_.isDetached())
        face_ = QImage(wanted, QImage::Format_ARGB32_Premultiplied);
    // Text drawn on the face has the size it would have on the screen.
    face_.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
    face_.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
    return face_;
}

void OwnerDrawn::showFace(const QImage& image)
{
    face_ = image;
    update();
}

void OwnerDrawn::notePress(const QMouseEvent& event)
{
    pointer_ = event.position().toPoint();
    if (event.button() == Qt::LeftButton) clicked_ = true;
}

bool OwnerDrawn::noteRelease(const QMouseEvent& event)
{
    pointer_ = event.position().toPoint();
    if (event.button() != Qt::LeftButton) return false;
    const bool click = clicked_ && rect().contains(pointer_);
    clicked_ = false;
    return click;
}

void OwnerDrawn::reportMouseDown(const QMouseEvent& event)
{
    Q_EMIT OnMouseDown(this, event.button(), event.modifiers(), pointer_.x(), pointer_.y());
}

void OwnerDrawn::reportMouseUp(const QMouseEvent& event)
{
    Q_EMIT OnMouseUp(this, event.button(), event.modifiers(), pointer_.x(), pointer_.y());
}

void OwnerDrawn::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(event->rect(), face_, event->rect());
}

void OwnerDrawn::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Paint();
}

void OwnerDrawn::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) Paint();
}

} // namespace controls
