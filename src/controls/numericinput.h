#pragma once

// A number field with a minus button on the left and a plus button on the right. Holding a
// button repeats, ever faster; the buttons keep the value between `min` and `max`. Its height
// is always a quarter of its width. No event reports a change: owners read `value`. Raises
// OnMouseDown, OnClick and OnMouseUp.
// GUI thread only; the owner passed at creation becomes its parent and owns it.

#include <QImage>
#include <cstdint>

#include "controls/ownerdrawn.h"

namespace controls {

class AutoRepeat;

class TNumericInput : public OwnerDrawn
{
    Q_OBJECT

public:
    explicit TNumericInput(QWidget* owner);

    // The colour the button pictures are tinted towards.
    int32_t color() const { return fcolor; }
    void setcolor(int32_t v);
    // Stored as given, even outside min..max: a caller may set it before widening the range.
    int32_t value() const { return fvalue; }
    void setvalue(int32_t v);
    int32_t max() const { return fmax; }
    void setmax(int32_t v);
    int32_t min() const { return fmin; }
    void setmin(int32_t v);

    void Paint() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void loadPictures();
    void step();
    void dotimer();

    int32_t fcolor;
    bool fldown = false;
    bool frdown = false;
    QImage minusup;
    QImage minusdown;
    QImage plusup;
    QImage plusdown;
    int32_t fvalue = 0;
    int32_t fmax = 100;
    int32_t fmin = 0;
    AutoRepeat* ftimer;
};

} // namespace controls
