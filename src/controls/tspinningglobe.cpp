#include "controls/tspinningglobe.h"

#include <QPainter>
#include <QRegion>

#include "controls/drawing.h"
#include "controls/ticker.h"
#include "controls/timersource.h"

namespace controls {

namespace {
constexpr int kSide = 152;
constexpr int kFrames = 9;
constexpr int kFrameMs = 100;
} // namespace

TSpinGlobe::TSpinGlobe(QWidget* owner) : OwnerDrawn(owner), updatethread(timerSource().makeTicker(this))
{
    resize(kSide, kSide);
    shapeToEllipse();
    advance(this);
    updatethread->setInterval(kFrameMs);
    connect(updatethread, &Ticker::timeout, this, [this] { advance(updatethread); });
}

void TSpinGlobe::start()
{
    setVisible(true);
    updatethread->setEnabled(true);
}

void TSpinGlobe::stop()
{
    setVisible(false);
    updatethread->setEnabled(false);
}

void TSpinGlobe::advance(QObject* /*Sender*/)
{
    count = count % kFrames + 1;
    o = programPicture(QStringLiteral("G%1").arg(count));
    Paint();
}

void TSpinGlobe::Paint()
{
    QImage& canvas = clearFace();
    if (parentWidget()) QPainter(&canvas).drawImage(0, 0, o);
    faceChanged();
}

void TSpinGlobe::shapeToEllipse()
{
    setMask(QRegion(1, 1, width() - 1, height() - 1, QRegion::Ellipse));
}

void TSpinGlobe::resizeEvent(QResizeEvent* event)
{
    shapeToEllipse();
    OwnerDrawn::resizeEvent(event);
}

} // namespace controls
