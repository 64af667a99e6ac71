#pragma once

// A panel that looks transparent: it shows the part of a backdrop picture that lies under it.
// The backdrop is laid out in the coordinates of the panel's grandparent (the jukebox window),
// so the panel copies the rectangle at its parent's position plus its own. With `border` it
// shows a thin frame instead. Accepts child controls; the jukebox's queue and search panels
// are made from it. Raises OnMouseDown, OnMouseMove, OnClick and OnMouseUp.
// GUI thread only; owned by its Qt parent.

#include "controls/ownerdrawn.h"

namespace controls {

class TTransparentPanel : public OwnerDrawn
{
    Q_OBJECT

public:
    explicit TTransparentPanel(QWidget* parent);

    // The backdrop; not owned, it must outlive the panel or be unset first. Call `Paint` after
    // drawing on it.
    const QImage* sourcebitmap() const { return fsource; }
    void setsourcebitmap(const QImage* bitmap);
    bool border() const { return fborder; }
    void setborder(bool v);

    void Paint() override;
    void setVisible(bool visible) override;

Q_SIGNALS:
    void OnMouseMove(QObject* Sender, Qt::KeyboardModifiers Shift, int X, int Y);

protected:
    void moveEvent(QMoveEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void watchParent();

    bool fborder = false;
    const QImage* fsource = nullptr;
    QWidget* watched_ = nullptr;
};

} // namespace controls
