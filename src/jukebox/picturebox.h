#pragma once

// A picture on the jukebox screen: it shows one bitmap, either at its natural size from the
// top-left corner or stretched over the whole control, and reports presses, releases, clicks and
// pointer movement in its own pixels. The bitmap is the control's own copy; callers may draw on it
// through `picture()` and then call `Paint()`.
// GUI thread only; owned by its Qt parent.

#include <QImage>

#include "controls/ownerdrawn.h"

namespace jukebox {

class PictureBox : public controls::OwnerDrawn
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget* parent);

    QImage& picture() { return picture_; }
    const QImage& picture() const { return picture_; }
    void setPicture(const QImage& image);
    void clearPicture();

    bool stretch() const { return stretch_; }
    void setStretch(bool on);
    // Pixels of the colour of the bitmap's bottom-left pixel let the parent show through.
    bool transparent() const { return transparent_; }
    void setTransparent(bool on);

    void Paint() override;

Q_SIGNALS:
    void OnClick(QObject* Sender);
    void OnMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void OnMouseUp(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void OnMouseMove(QObject* Sender, Qt::KeyboardModifiers Shift, int X, int Y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QImage keyedPicture() const;
    bool picturePaintsWholeFace() const;

    QImage picture_;
    bool stretch_ = false;
    bool transparent_ = false;
};

} // namespace jukebox
