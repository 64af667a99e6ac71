#pragma once

// The round busy indicator: a globe that turns one frame (of nine) about every 100 ms while
// started. Stopping hides it; the ticks come from a timer on the GUI thread, so none can
// arrive once the globe is gone.
// GUI thread only; the owner passed at creation becomes its parent and owns it.

#include <QImage>
#include <cstdint>

#include "controls/ownerdrawn.h"

namespace controls {

class Ticker;

class TSpinGlobe : public OwnerDrawn
{
    Q_OBJECT

public:
    explicit TSpinGlobe(QWidget* owner);

    // The frame shown, 1..9.
    int32_t currentFrame() const { return count; }

    void start();
    void stop();
    // Shows the next frame, after the ninth the first.
    void advance(QObject* Sender);

    void Paint() override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void shapeToEllipse();

    Ticker* updatethread;
    int32_t count = 0;
    QImage o;
};

} // namespace controls
