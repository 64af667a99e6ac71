#pragma once

// The jukebox's bar of 26 letter buttons, a to z, standing upright when it is taller than
// wide and lying down otherwise. Painted from the theme's letter-button skin and shaped to its
// buttons: where the pictures are transparent, clicks pass through. An upright bar's keys are the
// pictures without their see-through border, filling their cells but for a pixel between keys.
// Releasing a pressed letter raises `OnVirtualKey` with that letter's key code.
// GUI thread only; the owner passed at creation becomes its parent and owns it.

#include <QImage>
#include <QRect>
#include <array>
#include <cstdint>

#include "controls/ownerdrawn.h"

namespace controls {

struct tbuttonmatrix
{
    QRect tr;          // the letter's cell
    bool down = false; // pressed
};

using tbutmatrix = std::array<tbuttonmatrix, 26>;

class TAlphaBar : public OwnerDrawn
{
    Q_OBJECT

public:
    explicit TAlphaBar(QWidget* owner);

    const tbutmatrix& btnmatrix() const { return buttonmatrix; }

    void Paint() override;
    // Paints the bar from the theme's pictures and shapes it to them again.
    void reshape();

Q_SIGNALS:
    // The key code of a released letter: the virtual key in the low byte, the shift state in
    // the high byte.
    void OnVirtualKey(QObject* Sender, uint16_t Key);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool upright() const { return height() > width(); }

    double buttonheight = 0;
    QImage vcanv;
    tbutmatrix buttonmatrix;
};

} // namespace controls
