#pragma once

// A round progress display: a colour picture is revealed over its grey copy like a clock hand,
// clockwise from twelve o'clock, in the ring between `startradius` and `radius`. The control is
// shaped to the ellipse of its bounds.
// GUI thread only; owned by its Qt parent.

#include <QImage>
#include <cstdint>

#include "controls/ownerdrawn.h"

namespace controls {

// Turns `bmp` grey in place: each pixel becomes (red + green + blue) / 10 x brightness in all
// three channels, rounded half to even and held within 0..255. Returns `bmp`.
QImage& ConvertBitmapToGrayscale(QImage& bmp, double brightness);

class TBitmapProgress : public OwnerDrawn
{
    Q_OBJECT

public:
    explicit TBitmapProgress(QWidget* parent);

    // The colour picture, stretched to the control; its grey copy follows `brightness`. The
    // control is shown, painted and hidden again: the owner shows it when needed.
    void assignbackground(const QImage& bmp);

    int32_t position() const { return fposition; }
    void _setposition(int32_t v);
    int32_t max() const { return fmax; }
    void _setmax(int32_t v);
    int32_t radius() const { return fradius; }
    void setradius(int32_t v) { fradius = v; }
    int32_t startradius() const { return fstartradius; }
    void setstartradius(int32_t v) { fstartradius = v; }
    double brightness() const { return fbrightness; }
    void setbrightness(double v) { fbrightness = v; }

    void Paint() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void fitCanvas();
    int angleOf() const;
    void resetToGrey();
    void angledraw(double a1, double a2, int r, int r0);
    void setregion();

    QImage vcanv;
    int32_t fmax = 100;
    int32_t fposition = 0;
    int32_t lastposition = 0;
    QImage fbitmap;
    QImage fbwbitmap;
    int32_t fradius = 0;
    int32_t fstartradius = 0;
    double fbrightness = 1.0;
};

} // namespace controls
