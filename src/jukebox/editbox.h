#pragma once

// A one-line text entry on the jukebox screen that reports a click, gaining and losing the focus,
// and each typed character before the edit takes it (the handler may drop the character by
// setting it to 0).
// GUI thread only; owned by its Qt parent.

#include <QChar>
#include <QLineEdit>

class QFocusEvent;
class QKeyEvent;
class QMouseEvent;

namespace jukebox {

class EditBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit EditBox(QWidget* parent);

Q_SIGNALS:
    void OnClick(QObject* Sender);
    void OnEnter(QObject* Sender);
    void OnExit(QObject* Sender);
    void OnKeyPress(QObject* Sender, QChar& Key);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace jukebox
