#pragma once

// Painting helpers of the artwork generator: the shared palette, chrome and glass gradients,
// soft glows, and the key-colour treatment of pictures whose background is see-through.

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <cstdint>
#include <functional>

class QPainter;
class QLinearGradient;
class QConicalGradient;

namespace art {

// The palette every picture shares.
inline const QColor kNight(0x07, 0x09, 0x12);     // backdrop black-blue
inline const QColor kPanel(0x11, 0x15, 0x22);     // the right column behind keys and buttons
inline const QColor kAmber(0xF7, 0xC6, 0x00);     // the jukebox's text colour
inline const QColor kAmberHot(0xFF, 0xE2, 0x7A);  // amber at its brightest
inline const QColor kAmberDeep(0xB8, 0x6A, 0x00); // amber in shadow
inline const QColor kCyan(0x2B, 0xD9, 0xFF);      // cool neon accent
inline const QColor kMagenta(0xFF, 0x3F, 0xA4);   // warm neon accent

// A fresh transparent or filled picture to paint on (premultiplied ARGB).
QImage canvas(int w, int h, const QColor& fill = Qt::transparent);

// A painter with anti-aliasing and smooth picture scaling switched on.
void prepare(QPainter& p);

// Polished chrome: bright top, dark band below the middle, light bounce at the bottom.
QLinearGradient chrome(const QRectF& r, qreal brightness = 1.0);

// A chrome ring seen from the front: light and dark sweeps round `centre`.
QConicalGradient chromeRing(const QPointF& centre, qreal angle);

// Dark glass face of a key: deep blue-black, lit faintly from above.
QLinearGradient darkGlass(const QRectF& r);

// Lit glass face of a pressed key in `tone`.
QLinearGradient litGlass(const QRectF& r, const QColor& tone);

// `source` blurred by about `radius` pixels (three box passes).
QImage blurred(const QImage& source, int radius);

// Paints what `draw` paints a second time, blurred and brightened, underneath: a neon glow.
void glow(QImage& target, const std::function<void(QPainter&)>& draw, int radius, qreal strength = 1.0);

// A jukebox arch: straight sides from `bottom` up to the middle of `dome`, closed by its upper half.
QPainterPath archPath(const QRectF& dome, qreal bottom);

// A shiny highlight over the upper part of `shape`.
void gloss(QPainter& p, const QPainterPath& shape, qreal opacity = 0.55);

// A rounded key: chrome bezel, glass face (dark, or lit in `tone` when `down`), gloss.
void roundedKey(QPainter& p, const QRectF& r, qreal radius, bool down, const QColor& tone = kAmber);

// A round button: chrome ring around a glass face, lit in `tone` when `down`.
void roundButton(QPainter& p, const QRectF& r, bool down, const QColor& tone = kAmber);

// Every pixel whose centre lies outside `inside` becomes exactly `key`, with hard edges, so a
// picture drawn with `key` as its transparent colour shows no halo. Returns an opaque 24-bit copy.
QImage keyed(const QImage& picture, const QPainterPath& inside, const QColor& key);

// The opaque 24-bit form of a picture (what bitmap resources hold).
QImage opaque(const QImage& picture, const QColor& background = Qt::black);

// Deterministic pseudo-random numbers, so regenerated pictures are byte-identical.
class Dice
{
public:
    explicit Dice(uint32_t seed) : state_(seed) {}
    uint32_t next();
    double unit() { return next() / 4294967296.0; } // 0 <= x < 1
    double range(double lo, double hi) { return lo + (hi - lo) * unit(); }

private:
    uint32_t state_;
};

} // namespace art
