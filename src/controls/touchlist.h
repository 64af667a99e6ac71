#pragma once

// Base of the touch-driven lists: it hands the pointer's presses, releases and movements to the
// list's own handlers in the list's pixels, and keeps the last pointer position, which the
// auto-repeat presses at. A press notes the position too, since a touch screen sends no movement
// before it. It owns the auto-repeat of a held press and the hit rectangles of the last
// rendering. GUI thread only; owned by its Qt parent.

#include <QVector>
#include <cstdint>

#include "controls/ownerdrawn.h"
#include "controls/rowrenderer.h"

class QFont;

namespace controls {

class AutoRepeat;

class TouchList : public OwnerDrawn
{
    Q_OBJECT

public:
    virtual void MouseDown(int x, int y) = 0;
    virtual void MouseUp(int x, int y) = 0;
    virtual void MouseMove(int x, int y) = 0;

    // The hit rectangles of the last rendering.
    const QVector<tmatrix>& hits() const { return matrix; }

protected:
    // A held press repeats after 250 ms, then ever faster down to every `repeatfloor` ms.
    TouchList(QWidget* owner, int repeatfloor);

    // What each repeat of a held press does.
    virtual void repeattimerRepeat() = 0;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

    int32_t xx = 0;
    int32_t yy = 0;
    AutoRepeat* repeattimer;
    QVector<tmatrix> matrix;
    int32_t marked = kNothing;
};

// Gives `font` the name, size and style of `from` (a list's font setter keeps its own colour).
void copyfontlook(QFont& font, const QFont& from);

} // namespace controls
