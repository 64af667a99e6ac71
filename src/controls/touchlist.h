#pragma once

// Base of the touch-driven lists: it hands the pointer's presses, releases and movements to the
// list's own handlers in the list's pixels, and keeps the last pointer position, which the
// auto-repeat presses at. A press notes the position too, since a touch screen sends no movement
// before it. GUI thread only; owned by its Qt parent.

#include <cstdint>

#include "controls/ownerdrawn.h"

class QFont;

namespace controls {

class TouchList : public OwnerDrawn
{
    Q_OBJECT

public:
    using OwnerDrawn::OwnerDrawn;

    virtual void MouseDown(int x, int y) = 0;
    virtual void MouseUp(int x, int y) = 0;
    virtual void MouseMove(int x, int y) = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

    int32_t xx = 0;
    int32_t yy = 0;
};

// Gives `font` the name, size and style of `from` (a list's font setter keeps its own colour).
void copyfontlook(QFont& font, const QFont& from);

} // namespace controls
