#pragma once

// A check box drawn as a tick or a cross picture with a caption beside it. A click toggles it
// and raises OnClick; presses and releases raise nothing.
// GUI thread only; the owner passed at creation becomes its parent and owns it.

#include <QString>
#include <cstdint>

#include "controls/ownerdrawn.h"

namespace controls {

class TBitmapCheckbox : public OwnerDrawn
{
    Q_OBJECT

public:
    explicit TBitmapCheckbox(QWidget* owner);

    // The background of the caption.
    int32_t color() const { return fcolor; }
    void setcolor(int32_t v);
    QString caption() const { return ftext; }
    void settext(const QString& s);
    bool checked() const { return fchecked; }
    void setchecked(bool v);

    void autosize();
    void Paint() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Click();

    int32_t fcolor;
    QString ftext;
    bool fchecked = false;
};

} // namespace controls
