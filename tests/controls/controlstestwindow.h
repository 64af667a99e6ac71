#pragma once

// A shown top-level window for control tests (offscreen platform), so that resizes reach the
// controls at once as they do on screen.

#include <QColor>
#include <QImage>
#include <QWidget>

class ControlsTestWindow : public QWidget
{
public:
    ControlsTestWindow()
    {
        resize(800, 600);
        show();
    }
};

// Whether two pixels have the same red, green and blue.
inline bool sameRgb(QRgb a, QRgb b)
{
    return (a & 0xFFFFFFu) == (b & 0xFFFFFFu);
}
