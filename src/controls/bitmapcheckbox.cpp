#include "controls/bitmapcheckbox.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/drawing.h"
#include "skins/colors.h"

namespace controls {

TBitmapCheckbox::TBitmapCheckbox(QWidget* owner) : CaptionedPicture(owner)
{
    Paint();
}

void TBitmapCheckbox::setcolor(int32_t v)
{
    fcolor = v;
    autosize();
    Paint();
}

void TBitmapCheckbox::setchecked(bool v)
{
    fchecked = v;
    Paint();
}

void TBitmapCheckbox::Paint()
{
    QImage& canvas = clearFace();
    const QImage image = programPicture(fchecked ? QStringLiteral("TICK") : QStringLiteral("CROSS"));
    QPainter painter(&canvas);
    drawKeyed(painter, pictureRect(image), image, qRgb(255, 255, 255));
    const QColor background = skins::tcolorToQColor(fcolor);
    drawCaption(painter, image, &background);
    painter.end();
    faceChanged();
}

void TBitmapCheckbox::Click()
{
    fchecked = !fchecked;
    Paint();
    Q_EMIT OnClick(this);
}

// Presses and releases raise no events of their own; a completed click toggles the box.
void TBitmapCheckbox::mousePressEvent(QMouseEvent* event)
{
    notePress(*event);
}

void TBitmapCheckbox::mouseReleaseEvent(QMouseEvent* event)
{
    if (noteRelease(*event)) Click();
}

} // namespace controls
