#include "controls/numericinput.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "controls/autorepeat.h"
#include "controls/drawing.h"
#include "skins/colors.h"
#include "skins/imaging.h"

namespace controls {

namespace {
constexpr int kFirstRepeat = 200;
constexpr int kRepeatStep = 10;
constexpr int kFastestRepeat = 20;
constexpr double kTintKeeps = 0.7;
constexpr int kFontDivisor = 7; // font size = width div 7
constexpr int kFieldGap = 4;    // between a button and the number field

QImage tintedPicture(const char* name, int32_t colour)
{
    QImage picture = programPicture(QLatin1String(name));
    skins::alphablendbitmapwithcolor(picture, colour, picture, kTintKeeps);
    return picture;
}

// A button picture stretched into its square; its top-left pixel names the transparent colour.
void drawButton(QPainter& painter, const QRect& square, const QImage& picture)
{
    if (picture.isNull()) return;
    drawKeyed(painter, square, picture, picture.pixel(0, 0));
}
} // namespace

TNumericInput::TNumericInput(QWidget* owner)
    : OwnerDrawn(owner), fcolor(skins::clWindow),
      ftimer(new AutoRepeat(kFirstRepeat, kRepeatStep, kFastestRepeat, this))
{
    connect(ftimer, &AutoRepeat::repeat, this, &TNumericInput::dotimer);
    loadPictures();
    resize(200, static_cast<int>(std::nearbyint(200 / 4.0)));
    Paint();
}

void TNumericInput::setcolor(int32_t v)
{
    fcolor = v;
    loadPictures();
    Paint();
}

void TNumericInput::setvalue(int32_t v)
{
    fvalue = v;
    Paint();
}

void TNumericInput::setmax(int32_t v)
{
    fmax = v;
    if (fvalue > v) setvalue(v);
}

void TNumericInput::setmin(int32_t v)
{
    fmin = v;
    if (fvalue < v) setvalue(v);
}

void TNumericInput::loadPictures()
{
    plusup = tintedPicture("PLUSUP", fcolor);
    plusdown = tintedPicture("PLUSDOWN", fcolor);
    minusup = tintedPicture("MINUSUP", fcolor);
    minusdown = tintedPicture("MINUSDOWN", fcolor);
}

void TNumericInput::resizeEvent(QResizeEvent* event)
{
    // The height follows the width; the resize this asks for comes back here once more.
    const int h = static_cast<int>(std::nearbyint(width() / 4.0));
    if (h != height()) {
        resize(width(), h);
        return;
    }
    loadPictures();
    OwnerDrawn::resizeEvent(event);
}

void TNumericInput::Paint()
{
    const int h = height();
    const int w = width();
    QImage& canvas = clearFace();
    QPainter painter(&canvas);
    drawButton(painter, QRect(0, 0, h, h), fldown ? minusdown : minusup);

    QFont digits = font();
    digits.setPointSize(std::max(1, w / kFontDivisor));
    painter.setFont(digits);
    if (w - h - kFieldGap >= 0) {
        const QRect field =
            QRect(QPoint(h + kFieldGap, 0), QPoint(w - h - kFieldGap - 1, h - 1)).normalized();
        painter.fillRect(field, Qt::black);
        painter.setPen(Qt::white);
        painter.drawRect(field.adjusted(0, 0, -1, -1));
        const QString text = QString::number(fvalue);
        painter.setPen(fontColor(*this));
        textOut(painter, w / 2 - textWidth(*this, digits, text) / 2, h / 2 - textHeight(*this, digits) / 2,
                text);
    }
    drawButton(painter, QRect(w - h, 0, h, h), frdown ? plusdown : plusup);
    painter.end();
    faceChanged();
}

// One step in the direction of the held button, never past the bounds. The sum is taken in
// 64 bits so a value at the edge of the 32-bit range cannot wrap round.
void TNumericInput::step()
{
    const int64_t v = fvalue;
    if (frdown && v + 1 <= fmax) setvalue(static_cast<int32_t>(v + 1));
    if (fldown && v - 1 >= fmin) setvalue(static_cast<int32_t>(v - 1));
}

void TNumericInput::mousePressEvent(QMouseEvent* event)
{
    notePress(*event);
    const int x = pointer().x();
    const int third = width() / 3;
    if (x < third) fldown = true;
    if (x > width() - third) frdown = true;
    step();
    ftimer->press();
    Paint();
    reportMouseDown(*event);
}

void TNumericInput::dotimer()
{
    step();
}

void TNumericInput::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = noteRelease(*event);
    if (click) Q_EMIT OnClick(this);
    fldown = false;
    frdown = false;
    ftimer->release();
    Paint();
    reportMouseUp(*event);
}

} // namespace controls
