#include "jukebox/textlabel.h"

#include <QMouseEvent>

#include "skins/colors.h"

namespace jukebox {

TextLabel::TextLabel(QWidget* parent, const QString& caption) : QLabel(caption, parent) {}

void TextLabel::setFontColor(int32_t color)
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, skins::tcolorToQColor(color));
    setPalette(colours);
}

void TextLabel::autosize()
{
    resize(sizeHint());
}

void TextLabel::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) pressed_ = true;
    Q_EMIT OnMouseDown(this, event->button(), event->modifiers(), at.x(), at.y());
}

void TextLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const bool click = event->button() == Qt::LeftButton && pressed_ && rect().contains(at);
    if (event->button() == Qt::LeftButton) pressed_ = false;
    if (click) Q_EMIT OnClick(this);
    Q_EMIT OnMouseUp(this, event->button(), event->modifiers(), at.x(), at.y());
}

} // namespace jukebox
