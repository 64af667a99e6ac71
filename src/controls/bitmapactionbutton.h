#pragma once

// A round picture push button with a caption beside it. The face is one of the program's
// coloured button pictures (up or pressed), with an amber ring round it. Raises OnMouseDown,
// OnClick and OnMouseUp, in that order.
// GUI thread only; the owner passed at creation becomes its parent and owns it.

#include <cstdint>

#include "controls/captionedpicture.h"

namespace controls {

class TBitmapActionButton : public CaptionedPicture
{
    Q_OBJECT

public:
    explicit TBitmapActionButton(QWidget* owner);

    // Stored and repainted; the face does not use it.
    void setcolor(int32_t v);
    bool down() const { return fdown; }
    void setdown(bool v);
    // 1 green, 2 red, 3 purple, 4 yellow, 5 and below blue; above 5 the blue pair tinted towards
    // that colour value.
    int32_t buttoncolor() const { return fbuttoncolor; }
    void setbuttoncolor(int32_t v);

    void Paint() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage picture() const;

    int32_t fbuttoncolor = 0;
    bool fdown = false;
};

} // namespace controls
