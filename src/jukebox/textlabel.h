#pragma once

// A caption on the jukebox screen. It draws no background, so whatever lies under it shows, and it
// reports presses, releases and clicks: the keypad captions and the arrow captions are the parts
// of those keys that take the touch.
// GUI thread only; owned by its Qt parent.

#include <QLabel>

class QMouseEvent;

namespace jukebox {

class TextLabel : public QLabel
{
    Q_OBJECT

public:
    explicit TextLabel(QWidget* parent, const QString& caption = QString());

    // The text colour ($00BBGGRR).
    void setFontColor(int32_t color);
    // Grows or shrinks to the caption, keeping the top-left corner.
    void autosize();

Q_SIGNALS:
    void OnClick(QObject* Sender);
    void OnMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void OnMouseUp(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

} // namespace jukebox
