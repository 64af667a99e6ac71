#include "controls/bitmapactionbutton.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/drawing.h"
#include "controls/skinshim.h"
#include "skins/colors.h"

namespace controls {

namespace {
constexpr QRgb kRingColour = qRgb(0xF7, 0xC6, 0x00);
constexpr int kRingWidth = 2;
constexpr int32_t kLastPlainColour = 5;
constexpr double kTintKeeps = 0.4;

QString pictureName(int32_t buttoncolor, bool down)
{
    const char* base = "BLUE";
    switch (buttoncolor) {
    case 1:
        base = "GREEN";
        break;
    case 2:
        base = "RED";
        break;
    case 3:
        base = "PURPLE";
        break;
    case 4:
        base = "YELLOW";
        break;
    default:
        break;
    }
    return QLatin1String(base) + (down ? QLatin1String("DOWN") : QLatin1String("UP"));
}
} // namespace

TBitmapActionButton::TBitmapActionButton(QWidget* owner) : OwnerDrawn(owner), fcolor(skins::clWindow)
{
    resize(50, 32);
    Paint();
}

void TBitmapActionButton::setcolor(int32_t v)
{
    fcolor = v;
    Paint();
}

void TBitmapActionButton::settext(const QString& s)
{
    ftext = s;
    autosize();
    Paint();
}

void TBitmapActionButton::setdown(bool v)
{
    fdown = v;
    Paint();
}

void TBitmapActionButton::setbuttoncolor(int32_t v)
{
    fbuttoncolor = v;
    Paint();
}

void TBitmapActionButton::autosize()
{
    autosizeForCaption(*this, ftext);
}

QImage TBitmapActionButton::picture() const
{
    QImage image = programBitmap(pictureName(fbuttoncolor, fdown));
    if (fbuttoncolor > kLastPlainColour) blendTowards(image, fbuttoncolor, kTintKeeps);
    return image;
}

void TBitmapActionButton::Paint()
{
    QImage& canvas = clearFace();
    const QImage image = picture();
    QPainter painter(&canvas);
    const QRect target = pictureRect(image);
    drawKeyed(painter, target, image, qRgb(255, 255, 255));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(kRingColour), kRingWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(target).adjusted(0.5, 0.5, -0.5, -0.5));
    painter.setRenderHint(QPainter::Antialiasing, false);
    drawCaption(painter, *this, image, ftext, nullptr);
    painter.end();
    faceChanged();
}

void TBitmapActionButton::mousePressEvent(QMouseEvent* event)
{
    notePress(*event);
    fdown = true;
    Paint();
    Q_EMIT OnMouseDown(this, event->button(), event->modifiers(), pointer().x(), pointer().y());
}

void TBitmapActionButton::mouseReleaseEvent(QMouseEvent* event)
{
    // The class library reports the click before the release.
    if (noteRelease(*event)) Q_EMIT OnClick(this);
    fdown = false;
    Paint();
    Q_EMIT OnMouseUp(this, event->button(), event->modifiers(), pointer().x(), pointer().y());
}

} // namespace controls
