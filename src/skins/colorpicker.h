#pragma once

// The HSL colour picker of the theme manager: a square of saturation (across) by luminance (down)
// for the chosen hue, and beside it a strip of all hues. Hue, saturation and luminance each run
// 0..240. Dragging on either part chooses a colour and reports it. GUI thread only; owned by its
// Qt parent.

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <functional>

namespace skins {

constexpr int HLSMAX = 240;
constexpr int RGBMAX = 255;

// The colour ($00BBGGRR) of hue `hue`, luminance `lum` and saturation `sat`, in integer steps.
int32_t HSLtoRGB(int hue, int lum, int sat);
// Hue, saturation and luminance of the plain colour `color` ($00BBGGRR).
void RGBtoHSL(int32_t color, int& hue, int& sat, int& lum);

// One of the picker's two pictures: it shows an image and passes the mouse on.
class PickerImage : public QWidget
{
    Q_OBJECT

public:
    explicit PickerImage(QWidget* parent);
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }

    std::function<void(int x, int y)> onDown;
    std::function<void(int x, int y)> onMove;
    std::function<void(int x, int y)> onUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage picture_;
};

class TColorPicker : public QWidget
{
    Q_OBJECT

public:
    explicit TColorPicker(QWidget* owner);

    int32_t Col() const { return fcolor; }
    // Shows the plain colour `v` ($00BBGGRR): its hue in the swatch, the cursor and the hue tick
    // where it stands, then reports it.
    void setcolor(int32_t v);
    // Called after every change of the chosen colour.
    std::function<void()> OnColorChange;

    PickerImage* mainswatch = nullptr;
    PickerImage* sideswatch = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void GenerateInitialColors();
    void Paint();
    void drawcursor();
    // The swatch is sized with the picker, so the cursor follows each resize.
    void placeCursor();
    int hueTickY() const;
    void drawsidetick(int y);
    void swatchMove(int x, int y);
    void sideMove(int y);
    void changed();

    QImage pal;
    QImage ccanv; // the swatch without its cursor
    QImage side;  // the strip without its tick
    int currenthue = 0;
    int currentsat = 0;
    int currentlum = 0;
    bool selecting = false;
    bool sideselecting = false;
    int topoffset = 10;
    int topmargin = 0;
    int leftmargin = 0;
    int32_t fcolor = 0;
    int curposx = 0;
    int curposy = 0;
};

} // namespace skins
