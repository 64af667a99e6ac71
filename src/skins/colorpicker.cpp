#include "skins/colorpicker.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "skins/colors.h"

namespace skins {

namespace {

constexpr int kStripWidth = 20;
constexpr int kTickWidth = 10;
constexpr int kTickHalfHeight = 4;
constexpr int kCursorArm = 6;

int HueToRGB(int p, int q, int h)
{
    if (h < 0) h += HLSMAX;
    if (h > HLSMAX) h -= HLSMAX;
    if (h < HLSMAX / 6) return p + ((q - p) * h + HLSMAX / 12) / (HLSMAX / 6);
    if (h < HLSMAX / 2) return q;
    if (h < HLSMAX * 2 / 3) return p + ((q - p) * (HLSMAX * 2 / 3 - h) + HLSMAX / 12) / (HLSMAX / 6);
    return p;
}

int roundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

QColor qcolor(int32_t color)
{
    return tcolorToQColor(color);
}

} // namespace

int32_t HSLtoRGB(int hue, int lum, int sat)
{
    int red = 0;
    int green = 0;
    int blue = 0;
    if (sat == 0) {
        red = green = blue = lum * RGBMAX / HLSMAX;
    } else {
        const int m2 = lum <= HLSMAX / 2 ? (lum * (HLSMAX + sat) + HLSMAX / 2) / HLSMAX
                                         : lum + sat - (lum * sat + HLSMAX / 2) / HLSMAX;
        const int m1 = 2 * lum - m2;
        red = (HueToRGB(m1, m2, hue + HLSMAX / 3) * RGBMAX + HLSMAX / 2) / HLSMAX;
        green = (HueToRGB(m1, m2, hue) * RGBMAX + HLSMAX / 2) / HLSMAX;
        blue = (HueToRGB(m1, m2, hue - HLSMAX / 3) * RGBMAX + HLSMAX / 2) / HLSMAX;
    }
    return int32_t(std::clamp(red, 0, 255) | std::clamp(green, 0, 255) << 8 | std::clamp(blue, 0, 255) << 16);
}

void RGBtoHSL(int32_t color, int& hue, int& sat, int& lum)
{
    const double r = (color & 0xFF) / 255.0;
    const double g = ((color >> 8) & 0xFF) / 255.0;
    const double b = ((color >> 16) & 0xFF) / 255.0;
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    const double l = (max + min) / 2;
    const double d = max - min;
    double h = 0;
    double s = 0;
    if (d != 0) {
        s = l < 0.5 ? d / (max + min) : d / (2 - max - min);
        const double dr = ((max - r) / 6 + d / 2) / d;
        const double dg = ((max - g) / 6 + d / 2) / d;
        const double db = ((max - b) / 6 + d / 2) / d;
        if (r == max)
            h = db - dg;
        else if (g == max)
            h = 1.0 / 3 + dr - db;
        else
            h = 2.0 / 3 + dg - dr;
        if (h < 0) h += 1;
        if (h > 1) h -= 1;
    }
    hue = roundHalfEven(HLSMAX * h);
    sat = roundHalfEven(HLSMAX * s);
    lum = roundHalfEven(HLSMAX * l);
}

// ---- PickerImage ----

PickerImage::PickerImage(QWidget* parent) : QWidget(parent) {}

void PickerImage::setPicture(const QImage& picture)
{
    picture_ = picture;
    update();
}

void PickerImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, picture_);
}

void PickerImage::mousePressEvent(QMouseEvent* event)
{
    if (onDown) onDown(event->position().toPoint().x(), event->position().toPoint().y());
}

void PickerImage::mouseMoveEvent(QMouseEvent* event)
{
    if (onMove) onMove(event->position().toPoint().x(), event->position().toPoint().y());
}

void PickerImage::mouseReleaseEvent(QMouseEvent* event)
{
    if (onUp) onUp(event->position().toPoint().x(), event->position().toPoint().y());
}

// ---- TColorPicker ----

TColorPicker::TColorPicker(QWidget* owner) : QWidget(owner)
{
    mainswatch = new PickerImage(this);
    sideswatch = new PickerImage(this);
    mainswatch->onDown = [this](int x, int y) {
        selecting = true;
        swatchMove(x, y);
    };
    mainswatch->onMove = [this](int x, int y) {
        if (selecting) swatchMove(x, y);
    };
    mainswatch->onUp = [this](int x, int y) {
        swatchMove(x, y);
        selecting = false;
    };
    sideswatch->onDown = [this](int, int) { sideselecting = true; };
    sideswatch->onMove = [this](int, int y) {
        if (sideselecting) sideMove(y);
    };
    sideswatch->onUp = [this](int, int y) {
        sideMove(y);
        sideselecting = false;
    };
}

void TColorPicker::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    topmargin = height() / 20;
    leftmargin = width() / 20;
    const int swatchWidth = roundHalfEven((width() - 2 * leftmargin) / 1.2);
    const int swatchHeight = roundHalfEven((height() - 2 * topmargin) / 1.1);
    mainswatch->setGeometry(leftmargin, topmargin + topoffset, std::max(1, swatchWidth),
                            std::max(1, swatchHeight));
    sideswatch->setGeometry(mainswatch->geometry().right() + 1 + width() / 20, topmargin, kStripWidth,
                            mainswatch->height() + 2 * topoffset);
    GenerateInitialColors();
    placeCursor();
    Paint();
    drawsidetick(hueTickY());
}

// The cursor at the swatch pixel of the current saturation and luminance.
void TColorPicker::placeCursor()
{
    curposx = roundHalfEven(double(currentsat) * mainswatch->width() / HLSMAX);
    curposy = roundHalfEven(double(currentlum) * mainswatch->height() / HLSMAX);
}

int TColorPicker::hueTickY() const
{
    return roundHalfEven(double(currenthue) * (sideswatch->height() - 2 * topoffset) / HLSMAX);
}

// The hue strip: one line per hue at full saturation and middle luminance.
void TColorPicker::GenerateInitialColors()
{
    pal = QImage(kStripWidth, HLSMAX + 1, QImage::Format_RGB32);
    pal.fill(palette().color(QPalette::Window));
    QPainter painter(&pal);
    for (int hue = 0; hue <= HLSMAX; ++hue) {
        painter.setPen(qcolor(HSLtoRGB(hue, HLSMAX / 2, HLSMAX)));
        painter.drawLine(0, hue, kStripWidth - kTickWidth, hue);
    }
}

void TColorPicker::Paint()
{
    side = QImage(sideswatch->size(), QImage::Format_RGB32);
    side.fill(palette().color(QPalette::Window));
    {
        QPainter painter(&side);
        painter.drawImage(QRect(0, topoffset, side.width(), side.height() - 2 * topoffset), pal);
    }
    QImage square(HLSMAX, HLSMAX, QImage::Format_RGB32);
    for (int lum = 0; lum < HLSMAX; ++lum) {
        auto* line = reinterpret_cast<QRgb*>(square.scanLine(lum));
        for (int sat = 0; sat < HLSMAX; ++sat)
            line[sat] = qcolor(HSLtoRGB(currenthue, lum, sat)).rgb();
    }
    ccanv = square.scaled(mainswatch->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    drawcursor();
}

void TColorPicker::drawcursor()
{
    QImage shown = ccanv;
    QPainter painter(&shown);
    painter.setPen(QPen(curposy < shown.height() / 3 ? Qt::white : Qt::black, 1));
    painter.drawLine(curposx - kCursorArm, curposy, curposx - 1, curposy);
    painter.drawLine(curposx + 1, curposy, curposx + kCursorArm, curposy);
    painter.drawLine(curposx, curposy - kCursorArm, curposx, curposy - 1);
    painter.drawLine(curposx, curposy + 1, curposx, curposy + kCursorArm);
    painter.end();
    mainswatch->setPicture(shown);
}

void TColorPicker::drawsidetick(int y)
{
    QImage shown = side;
    QPainter painter(&shown);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const int at = y + topoffset;
    const QPoint tick[] = {{kStripWidth - kTickWidth, at},
                           {shown.width() - 1, at - kTickHalfHeight},
                           {shown.width() - 1, at + kTickHalfHeight}};
    painter.drawPolygon(tick, 3);
    painter.end();
    sideswatch->setPicture(shown);
}

void TColorPicker::swatchMove(int x, int y)
{
    x = std::clamp(x, 0, mainswatch->width() - 1);
    y = std::clamp(y, 0, mainswatch->height() - 1);
    currentsat = roundHalfEven(double(HLSMAX) / mainswatch->width() * x);
    currentlum = roundHalfEven(double(HLSMAX) / mainswatch->height() * y);
    fcolor = HSLtoRGB(currenthue, currentlum, currentsat);
    changed();
    curposx = x;
    curposy = y;
    drawcursor();
}

void TColorPicker::sideMove(int y)
{
    const int range = std::max(1, sideswatch->height() - 2 * topoffset);
    y = std::clamp(y, topoffset, sideswatch->height() - topoffset);
    currenthue = roundHalfEven(double(HLSMAX) / range * (y - topoffset));
    Paint();
    fcolor = HSLtoRGB(currenthue, currentlum, currentsat);
    changed();
    drawsidetick(y - topoffset);
}

void TColorPicker::setcolor(int32_t v)
{
    RGBtoHSL(v, currenthue, currentsat, currentlum);
    placeCursor();
    Paint();
    drawsidetick(hueTickY());
    fcolor = v;
    changed();
}

void TColorPicker::changed()
{
    if (OnColorChange) OnColorChange();
}

} // namespace skins
