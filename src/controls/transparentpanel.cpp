#include "controls/transparentpanel.h"

#include <QMouseEvent>
#include <QPainter>

#include "skins/colors.h"

namespace controls {

TTransparentPanel::TTransparentPanel(QWidget* parent) : OwnerDrawn(parent)
{
    resize(100, 100);
    setMouseTracking(true);
    watchParent();
    Paint();
}

void TTransparentPanel::setsourcebitmap(const QImage* bitmap)
{
    fsource = bitmap;
    Paint();
}

void TTransparentPanel::setborder(bool v)
{
    if (v == fborder) return;
    fborder = v;
    Paint();
}

void TTransparentPanel::Paint()
{
    // A hidden panel (the queue and search panels most of the time) holds no face; it renders
    // when it is shown.
    if (isHidden()) {
        face_ = QImage();
        return;
    }
    QImage& canvas = clearFace();
    if (fsource) {
        QPainter painter(&canvas);
        if (fborder) {
            painter.setPen(skins::tcolorToQColor(skins::clBtnShadow));
            painter.drawRect(QRect(0, 0, width() - 1, height() - 1));
        } else {
            const QPoint parentAt = parentWidget() ? parentWidget()->pos() : QPoint();
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(QPoint(0, 0), *fsource, QRect(parentAt + pos(), size()));
        }
    }
    faceChanged();
}

void TTransparentPanel::setVisible(bool visible)
{
    const bool wasHidden = isHidden();
    OwnerDrawn::setVisible(visible);
    if (isHidden() != wasHidden) Paint();
}

void TTransparentPanel::moveEvent(QMoveEvent* event)
{
    OwnerDrawn::moveEvent(event);
    Paint();
}

// The piece of backdrop shown depends on where the parent stands too.
bool TTransparentPanel::event(QEvent* event)
{
    if (event->type() == QEvent::ParentChange) {
        watchParent();
        Paint();
    }
    return OwnerDrawn::event(event);
}

bool TTransparentPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == watched_ && event->type() == QEvent::Move) Paint();
    return OwnerDrawn::eventFilter(watched, event);
}

void TTransparentPanel::watchParent()
{
    if (watched_) watched_->removeEventFilter(this);
    watched_ = parentWidget();
    if (watched_) watched_->installEventFilter(this);
}

void TTransparentPanel::mousePressEvent(QMouseEvent* event)
{
    notePress(*event);
    reportMouseDown(*event);
}

void TTransparentPanel::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    Q_EMIT OnMouseMove(this, event->modifiers(), at.x(), at.y());
}

void TTransparentPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (noteRelease(*event)) Q_EMIT OnClick(this);
    reportMouseUp(*event);
}

} // namespace controls
