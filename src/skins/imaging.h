#pragma once

// Picture and window procedures that several screens share: loading one of the program's own
// bitmaps, tinting a picture, shaping a window from a mask picture, centring a window on the
// chosen monitor, painting a random placeholder cover, and softening colour edges.
// Window thread only.

#include <QImage>
#include <QRegion>
#include <QRgb>
#include <QVector>
#include <cstdint>

class QRandomGenerator;
class QRect;
class QString;
class QWidget;

namespace skins {

// Loads the program's own bitmap `rc` into `target`: 0, or -1 (target unchanged) when there is none.
int32_t loadbitmap(QImage& target, const QString& rc);

// Tints `source` towards `blendcolor` keeping `alpha` of the picture; `source` first takes the
// size of `blend` and 24 bits per pixel. Does nothing on a slow machine.
void alphablendbitmapwithcolor(const QImage& blend, int32_t blendcolor, QImage& source, double alpha);

// The shape left of a mask picture when every pixel of exactly colour `cut` is removed from the
// rectangle (0, 0, width, height). Pure white is the cut colour of mask pictures.
QRegion maskRegion(const QImage& mask, QRgb cut = qRgb(255, 255, 255));

// Gives `window` the shape of `mask` (white cut away). A mask 0 pixels wide changes nothing; a
// mask that is all white leaves nothing of the window to see.
void CutOutWindowFromMask(QWidget* window, const QImage& mask);

// Centres `f` horizontally on the monitor the settings name (`monitor` of config): 0 leaves it
// where it is, 1 and up count the system's monitors from 0. A monitor that is not there leaves
// the window where it is.
void moveformtomonitor(QWidget* f);
// The same over the given monitor bounds.
void moveformtomonitor(QWidget* f, const QVector<QRect>& monitors);

// Paints a random 300 x 300 placeholder cover with `title` scattered over it. The random source
// is seeded once from the clock, so every call gives a new picture.
void generatecover(QImage& pic, const QString& title);
// The same with the given random source (a fixed seed gives the same picture).
void generatecover(QImage& pic, const QString& title, QRandomGenerator& random);

// Softens colour edges in place: each neighbour that differs from a centre pixel moves towards
// it by Percent-dependent weight, wrapping round the picture's edges. Does nothing on a slow
// machine or on a screen exactly 1024 pixels wide.
void Antialiasing(QImage& Image, int32_t Percent);
// The same for a screen `screenWidth` pixels wide.
void Antialiasing(QImage& Image, int32_t Percent, int screenWidth);

} // namespace skins
