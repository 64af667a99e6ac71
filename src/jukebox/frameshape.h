#pragma once

// A frame on the jukebox screen: a rectangle, rounded rectangle or ellipse outlined with a pen of
// a given colour and width and filled or left open. The frames round the control-panel keys are
// also the areas that take their touch, so it reports presses and releases.
// GUI thread only; owned by its Qt parent.

#include <QWidget>
#include <cstdint>

class QMouseEvent;

namespace jukebox {

class FrameShape : public QWidget
{
    Q_OBJECT

public:
    enum class Kind { Rectangle, RoundRect, Ellipse };

    explicit FrameShape(QWidget* parent);

    Kind kind() const { return kind_; }
    void setKind(Kind kind);
    int32_t penColor() const { return penColor_; }
    int penWidth() const { return penWidth_; }
    // Width 0 draws no outline.
    void setPen(int32_t color, int width);
    // Without a brush the inside stays open.
    bool filled() const { return filled_; }
    void setBrush(int32_t color);
    void clearBrush();

Q_SIGNALS:
    void OnMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void OnMouseUp(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Kind kind_ = Kind::Rectangle;
    int32_t penColor_ = 0;
    int penWidth_ = 1;
    bool filled_ = false;
    int32_t brushColor_ = 0;
};

} // namespace jukebox
