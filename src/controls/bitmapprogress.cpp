#include "controls/bitmapprogress.h"

#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace controls {

namespace {
constexpr double kFullCircle = 360.0;
constexpr double kAngleStep = 0.25; // degrees per revealed ray
constexpr double kTwelveOClock = 90.0;
} // namespace

QImage& ConvertBitmapToGrayscale(QImage& bmp, double brightness)
{
    bmp = bmp.convertToFormat(QImage::Format_RGB32);
    // A grey above 255 would wrap round to a dark pixel: it is held at white instead.
    for (int x = 0; x < bmp.width(); ++x)
        for (int y = 0; y < bmp.height(); ++y) {
            const QRgb p = bmp.pixel(x, y);
            const double g = std::nearbyint(brightness * (qRed(p) + qGreen(p) + qBlue(p)) / 10.0);
            const int grey = static_cast<int>(std::clamp(g, 0.0, 255.0));
            bmp.setPixel(x, y, qRgb(grey, grey, grey));
        }
    return bmp;
}

TBitmapProgress::TBitmapProgress(QWidget* parent) : OwnerDrawn(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(100, 100);
    setregion();
    Paint();
}

void TBitmapProgress::assignbackground(const QImage& bmp)
{
    fbitmap = bmp.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                  .convertToFormat(QImage::Format_RGB32);
    fbwbitmap = bmp;
    ConvertBitmapToGrayscale(fbwbitmap, fbrightness);
    setVisible(true);
    Paint();
    setVisible(false);
}

void TBitmapProgress::_setposition(int32_t v)
{
    fposition = std::min(v, fmax);
    Paint();
}

void TBitmapProgress::_setmax(int32_t v)
{
    lastposition = 0;
    fmax = v;
    Paint();
}

// The revealed angle in whole degrees. A maximum of 0 or below reveals nothing, and a position
// above the maximum (left by a later, smaller maximum) counts as the maximum.
int TBitmapProgress::angleOf() const
{
    if (fposition < 1 || fmax < 1) return 0;
    const int32_t p = std::min(fposition, fmax);
    return static_cast<int>(std::nearbyint(kFullCircle / fmax * p));
}

void TBitmapProgress::resetToGrey()
{
    vcanv.fill(Qt::black);
    if (fbwbitmap.isNull()) return;
    QPainter painter(&vcanv);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(vcanv.rect(), fbwbitmap);
}

void TBitmapProgress::Paint()
{
    fitCanvas();
    const int angle = angleOf();
    double start = lastposition;
    if (angle < lastposition) {
        resetToGrey();
        start = 0;
    }
    if (angle == 0) resetToGrey();
    if (angle != lastposition) {
        lastposition = angle;
        angledraw(start, angle, fradius, fstartradius);
    }
    showFace(vcanv);
}

// Copies the colour picture into the canvas along rays from a1 to a2 degrees (clockwise from
// twelve o'clock, a quarter degree apart), for every radius from r0 to r. Points that fall
// outside the picture are skipped.
void TBitmapProgress::angledraw(double a1, double a2, int r, int r0)
{
    if (fbitmap.isNull()) return;
    const int cx = width() / 2;
    const int cy = height() / 2;
    const QRect inside = vcanv.rect().intersected(fbitmap.rect());
    for (int rho = r0; rho <= r; ++rho)
        for (double a = a1; a <= a2; a += kAngleStep) {
            const double theta = (a + kAngleStep - kTwelveOClock) * std::numbers::pi / 180.0;
            const int x = static_cast<int>(std::nearbyint(std::cos(theta) * rho + cx));
            const int y = static_cast<int>(std::nearbyint(std::sin(theta) * rho + cy));
            if (inside.contains(x, y)) vcanv.setPixel(x, y, fbitmap.pixel(x, y));
        }
}

void TBitmapProgress::setregion()
{
    setMask(QRegion(0, 0, width(), height(), QRegion::Ellipse));
}

// The canvas takes the control's size, keeping what it shows. A hidden control hears of its
// new size only when shown, so painting checks too.
void TBitmapProgress::fitCanvas()
{
    if (vcanv.size() == size()) return;
    QImage resized(size(), QImage::Format_RGB32);
    resized.fill(Qt::black);
    QPainter(&resized).drawImage(0, 0, vcanv);
    vcanv = resized;
}

void TBitmapProgress::resizeEvent(QResizeEvent* event)
{
    fitCanvas();
    setregion();
    OwnerDrawn::resizeEvent(event);
}

void TBitmapProgress::showEvent(QShowEvent* event)
{
    setregion();
    OwnerDrawn::showEvent(event);
}

} // namespace controls
