#include "controls/touchlist.h"

#include <QFont>
#include <QMouseEvent>

#include "controls/autorepeat.h"

namespace controls {

namespace {
constexpr int kRepeatFirst = 250;
constexpr int kRepeatStep = 10;
} // namespace

TouchList::TouchList(QWidget* owner, int repeatfloor)
    : OwnerDrawn(owner), repeattimer(new AutoRepeat(kRepeatFirst, kRepeatStep, repeatfloor, this))
{
    connect(repeattimer, &AutoRepeat::repeat, this, &TouchList::repeattimerRepeat);
}

void TouchList::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    xx = p.x();
    yy = p.y();
    MouseDown(p.x(), p.y());
}

void TouchList::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    MouseUp(p.x(), p.y());
}

void TouchList::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    MouseMove(p.x(), p.y());
}

void copyfontlook(QFont& font, const QFont& from)
{
    font.setFamily(from.family());
    font.setPointSize(from.pointSize());
    font.setBold(from.bold());
    font.setItalic(from.italic());
    font.setUnderline(from.underline());
    font.setStrikeOut(from.strikeOut());
}

} // namespace controls
