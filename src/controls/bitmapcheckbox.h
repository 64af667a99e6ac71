#pragma once

// A check box drawn as a tick or a cross picture with a caption beside it. A click toggles it
// and raises OnClick; presses and releases raise nothing.
// GUI thread only; the owner passed at creation becomes its parent and owns it.

#include <cstdint>

#include "controls/captionedpicture.h"

namespace controls {

class TBitmapCheckbox : public CaptionedPicture
{
    Q_OBJECT

public:
    explicit TBitmapCheckbox(QWidget* owner);

    // The background of the caption; setting it also applies the size rule again.
    void setcolor(int32_t v);
    bool checked() const { return fchecked; }
    void setchecked(bool v);

    void Paint() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Click();

    bool fchecked = false;
};

} // namespace controls
