#include "controls/touchlist.h"

#include <QFont>
#include <QMouseEvent>

namespace controls {

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
