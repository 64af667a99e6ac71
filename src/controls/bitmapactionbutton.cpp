#include "controls/bitmapactionbutton.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/drawing.h"
#include "skins/imaging.h"

namespace controls {

namespace {
constexpr QRgb kRingColour = qRgb(0xF7, 0xC6, 0x00);
constexpr int kRingWidth = 2;
constexpr int32_t kLastPlainColour = 5;
constexpr double kTintKeeps = 0.4;
constexpr QRgb kSeeThrough = qRgb(255, 255, 255);

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

TBitmapActionButton::TBitmapActionButton(QWidget* owner) : CaptionedPicture(owner)
{
    Paint();
}

void TBitmapActionButton::setcolor(int32_t v)
{
    fcolor = v;
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

// The button picture, see-through where it is white. A tinted picture keeps the see-through
// parts of the plain one: tinting turns the white surround into another colour, which would
// otherwise show as a square round the ball.
QImage TBitmapActionButton::picture() const
{
    const QImage plain = programPicture(pictureName(fbuttoncolor, fdown));
    QImage shown = keyedOut(plain, kSeeThrough);
    if (fbuttoncolor <= kLastPlainColour) return shown;
    QImage tinted = plain;
    skins::alphablendbitmapwithcolor(tinted, fbuttoncolor, tinted, kTintKeeps);
    tinted = tinted.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (qAlpha(shown.pixel(x, y)) == 0) tinted.setPixel(x, y, 0);
    return tinted;
}

void TBitmapActionButton::Paint()
{
    QImage& canvas = clearFace();
    const QImage image = picture();
    QPainter painter(&canvas);
    const QRect target = pictureRect(image);
    if (!image.isNull()) painter.drawImage(target, image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(kRingColour), kRingWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(target).adjusted(0.5, 0.5, -0.5, -0.5));
    painter.setRenderHint(QPainter::Antialiasing, false);
    drawCaption(painter, image, nullptr);
    painter.end();
    faceChanged();
}

void TBitmapActionButton::mousePressEvent(QMouseEvent* event)
{
    notePress(*event);
    fdown = true;
    Paint();
    reportMouseDown(*event);
}

void TBitmapActionButton::mouseReleaseEvent(QMouseEvent* event)
{
    // The class library reports the click before the release.
    if (noteRelease(*event)) Q_EMIT OnClick(this);
    fdown = false;
    Paint();
    reportMouseUp(*event);
}

} // namespace controls
