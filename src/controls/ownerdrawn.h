#pragma once

// Base of the owner-drawn controls. A control renders its whole face into an off-screen image
// whenever its state changes (its `Paint`), and painting on screen only copies that image, so
// what the control shows can be read back without an event loop. A hidden control hears of a
// new size only when it is shown (Qt delivers the resize then), so size-dependent set-up that
// lives in a resize handler catches up at that moment.
// GUI thread only; owned by its Qt parent.

#include <QImage>
#include <QWidget>

class QMouseEvent;

namespace controls {

class OwnerDrawn : public QWidget
{
    Q_OBJECT

public:
    explicit OwnerDrawn(QWidget* parent);

    // The face as last rendered.
    const QImage& face() const { return face_; }
    // Renders the face from the control's state and schedules its copy to the screen. Runs
    // again by itself when the control is resized or its font or palette change.
    virtual void Paint() = 0;

    // The mouse events every control has; each control says which of them it raises.
Q_SIGNALS:
    void OnClick(QObject* Sender);
    void OnMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void OnMouseUp(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);

protected:
    // Starts a new face at the control's size, fully transparent.
    QImage& clearFace();
    // The same, with its pixels left as they are, for a caller that paints every one of them.
    QImage& faceToCover();
    // Replaces the face and schedules its copy to the screen.
    void showFace(const QImage& image);
    // Schedules the copy of the face to the screen after it was drawn in place.
    void faceChanged() { update(); }

    // Click tracking as the class library does it: a left press on the control followed by a
    // left release over it is a click. Both note where the pointer is, since no move may have
    // come before a press.
    void notePress(const QMouseEvent& event);
    // True when this release completes a click.
    bool noteRelease(const QMouseEvent& event);
    QPoint pointer() const { return pointer_; }
    // Raise OnMouseDown / OnMouseUp for `event` at the noted pointer position.
    void reportMouseDown(const QMouseEvent& event);
    void reportMouseUp(const QMouseEvent& event);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

    QImage face_;

private:
    QPoint pointer_;
    bool clicked_ = false;
};

} // namespace controls
