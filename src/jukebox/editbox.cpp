#include "jukebox/editbox.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace jukebox {

EditBox::EditBox(QWidget* parent) : QLineEdit(parent) {}

void EditBox::mouseReleaseEvent(QMouseEvent* event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT OnClick(this);
}

void EditBox::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    Q_EMIT OnEnter(this);
}

void EditBox::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    Q_EMIT OnExit(this);
}

void EditBox::keyPressEvent(QKeyEvent* event)
{
    // Alt chords come from coin mechanisms and button panels: they pay or steer, never type.
    if (event->modifiers().testFlag(Qt::AltModifier)) {
        event->ignore();
        return;
    }
    // Characters pass the handler first; keys without text (arrows, Enter) go straight on.
    const QString text = event->text();
    if (text.size() == 1) {
        QChar key = text.at(0);
        Q_EMIT OnKeyPress(this, key);
        if (key.isNull()) return;
        if (key != text.at(0)) {
            QKeyEvent changed(event->type(), event->key(), event->modifiers(), QString(key));
            QLineEdit::keyPressEvent(&changed);
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace jukebox
