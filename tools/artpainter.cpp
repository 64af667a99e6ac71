#include "artpainter.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <vector>

namespace art {

QImage canvas(int w, int h, const QColor& fill)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

void prepare(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::TextAntialiasing);
}

QLinearGradient chrome(const QRectF& r, qreal brightness)
{
    const auto shade = [brightness](int v) {
        const int c = std::clamp(int(v * brightness), 0, 255);
        return QColor(c, c, std::min(255, c + 8));
    };
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.00, shade(250));
    g.setColorAt(0.22, shade(205));
    g.setColorAt(0.48, shade(120));
    g.setColorAt(0.52, shade(70));
    g.setColorAt(0.78, shade(140));
    g.setColorAt(1.00, shade(225));
    return g;
}

QConicalGradient chromeRing(const QPointF& centre, qreal angle)
{
    QConicalGradient ring(centre, angle);
    ring.setColorAt(0.00, QColor(245, 247, 252));
    ring.setColorAt(0.25, QColor(100, 106, 120));
    ring.setColorAt(0.50, QColor(230, 233, 240));
    ring.setColorAt(0.75, QColor(85, 91, 105));
    ring.setColorAt(1.00, QColor(245, 247, 252));
    return ring;
}

QLinearGradient darkGlass(const QRectF& r)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, QColor(0x3A, 0x43, 0x5E));
    g.setColorAt(0.45, QColor(0x1A, 0x20, 0x33));
    g.setColorAt(1.0, QColor(0x0C, 0x0F, 0x1A));
    return g;
}

QLinearGradient litGlass(const QRectF& r, const QColor& tone)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, tone.darker(420));
    g.setColorAt(0.55, tone.darker(260));
    g.setColorAt(1.0, tone.darker(140));
    return g;
}

namespace {

// One horizontal or vertical box pass over premultiplied ARGB.
void boxPass(const QImage& in, QImage& out, int radius, bool horizontal)
{
    const int w = in.width(), h = in.height();
    const int lines = horizontal ? h : w;
    const int length = horizontal ? w : h;
    const int window = 2 * radius + 1;
    std::vector<int> sum(4);
    for (int line = 0; line < lines; ++line) {
        const auto at = [&](int i) {
            i = std::clamp(i, 0, length - 1);
            return horizontal ? in.pixel(i, line) : in.pixel(line, i);
        };
        int a = 0, r = 0, g = 0, b = 0;
        for (int i = -radius; i <= radius; ++i) {
            const QRgb px = at(i);
            a += qAlpha(px), r += qRed(px), g += qGreen(px), b += qBlue(px);
        }
        for (int i = 0; i < length; ++i) {
            const QRgb value = qRgba(r / window, g / window, b / window, a / window);
            if (horizontal)
                out.setPixel(i, line, value);
            else
                out.setPixel(line, i, value);
            const QRgb leaving = at(i - radius), entering = at(i + radius + 1);
            a += qAlpha(entering) - qAlpha(leaving);
            r += qRed(entering) - qRed(leaving);
            g += qGreen(entering) - qGreen(leaving);
            b += qBlue(entering) - qBlue(leaving);
        }
    }
}

} // namespace

QImage blurred(const QImage& source, int radius)
{
    QImage a = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (radius < 1) return a;
    QImage b(a.size(), a.format());
    const int step = std::max(1, radius / 2);
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(a, b, step, true);
        boxPass(b, a, step, false);
    }
    return a;
}

void glow(QImage& target, const std::function<void(QPainter&)>& draw, int radius, qreal strength)
{
    QImage layer = canvas(target.width(), target.height());
    {
        QPainter p(&layer);
        prepare(p);
        draw(p);
    }
    const QImage halo = blurred(layer, radius);
    QPainter p(&target);
    prepare(p);
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    for (qreal s = strength; s > 0; s -= 1.0) {
        p.setOpacity(std::min<qreal>(1.0, s));
        p.drawImage(0, 0, halo);
    }
    p.setOpacity(1.0);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    draw(p);
}

void gloss(QPainter& p, const QPainterPath& shape, qreal opacity)
{
    const QRectF r = shape.boundingRect();
    QPainterPath top;
    top.addEllipse(
        QRectF(r.left() - r.width() * 0.25, r.top() - r.height() * 0.55, r.width() * 1.5, r.height() * 1.0));
    QLinearGradient g(r.topLeft(), QPointF(r.left(), r.top() + r.height() * 0.5));
    g.setColorAt(0.0, QColor(255, 255, 255, int(255 * opacity)));
    g.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(shape.intersected(top));
    p.restore();
}

void roundedKey(QPainter& p, const QRectF& r, qreal radius, bool down, const QColor& tone)
{
    p.save();
    p.setPen(Qt::NoPen);
    // Drop shadow below the key.
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawRoundedRect(r.translated(0, 1), radius, radius);
    // Chrome bezel.
    p.setBrush(chrome(r, down ? 0.8 : 1.0));
    p.drawRoundedRect(r, radius, radius);
    const qreal bezel = std::max<qreal>(1.6, std::min(r.width(), r.height()) * 0.07);
    const QRectF face = r.adjusted(bezel, bezel, -bezel, -bezel);
    const qreal inner = std::max<qreal>(1.0, radius - bezel * 0.8);
    p.setBrush(QColor(0, 0, 0, 200));
    p.drawRoundedRect(face, inner, inner);
    QPainterPath facePath;
    facePath.addRoundedRect(face.adjusted(0.6, 0.6, -0.6, -0.6), inner, inner);
    p.setBrush(down ? QBrush(litGlass(face, tone)) : QBrush(darkGlass(face)));
    p.drawPath(facePath);
    // Light from below: amber rim on the lower edge (a glowing core when pressed).
    QRadialGradient rim(QPointF(face.center().x(), face.bottom()), face.width() * 0.7);
    QColor warm = tone;
    warm.setAlpha(down ? 200 : 70);
    rim.setColorAt(0.0, warm);
    warm.setAlpha(0);
    rim.setColorAt(1.0, warm);
    p.setBrush(rim);
    p.drawPath(facePath);
    gloss(p, facePath, down ? 0.30 : 0.50);
    p.restore();
}

void roundButton(QPainter& p, const QRectF& r, bool down, const QColor& tone)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 160));
    p.drawEllipse(r.translated(0, 1));
    p.setBrush(chromeRing(r.center(), 120));
    p.drawEllipse(r);
    const qreal bezel = std::max<qreal>(1.8, r.width() * 0.09);
    const QRectF face = r.adjusted(bezel, bezel, -bezel, -bezel);
    p.setBrush(QColor(0, 0, 0, 220));
    p.drawEllipse(face);
    QPainterPath facePath;
    facePath.addEllipse(face.adjusted(0.6, 0.6, -0.6, -0.6));
    QRadialGradient body(QPointF(face.center().x(), face.top() + face.height() * 0.35), face.width() * 0.75);
    if (down) {
        body.setColorAt(0.0, tone.lighter(130));
        body.setColorAt(0.6, tone.darker(160));
        body.setColorAt(1.0, tone.darker(320));
    } else {
        body.setColorAt(0.0, QColor(0x46, 0x50, 0x6E));
        body.setColorAt(0.7, QColor(0x17, 0x1C, 0x2D));
        body.setColorAt(1.0, QColor(0x08, 0x0A, 0x12));
    }
    p.setBrush(body);
    p.drawPath(facePath);
    gloss(p, facePath, down ? 0.35 : 0.5);
    p.restore();
}

QImage keyed(const QImage& picture, const QPainterPath& inside, const QColor& key)
{
    QImage result = opaque(picture, kNight);
    for (int y = 0; y < result.height(); ++y) {
        uchar* line = result.scanLine(y);
        for (int x = 0; x < result.width(); ++x) {
            if (inside.contains(QPointF(x + 0.5, y + 0.5))) {
                // A drawn pixel that happens to have the key colour would turn into a hole.
                if (line[3 * x] == key.red() && line[3 * x + 1] == key.green() &&
                    line[3 * x + 2] == key.blue())
                    line[3 * x + 1] = uchar(key.green() > 0 ? key.green() - 1 : 1);
                continue;
            }
            line[3 * x] = uchar(key.red());
            line[3 * x + 1] = uchar(key.green());
            line[3 * x + 2] = uchar(key.blue());
        }
    }
    return result;
}

QImage opaque(const QImage& picture, const QColor& background)
{
    QImage flat(picture.size(), QImage::Format_RGB888);
    flat.fill(background);
    QPainter p(&flat);
    p.drawImage(0, 0, picture);
    p.end();
    return flat;
}

uint32_t Dice::next()
{
    // xorshift32: small, fast and the same on every machine.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

QPainterPath archPath(const QRectF& dome, qreal bottom)
{
    QPainterPath arch;
    arch.moveTo(dome.left(), bottom);
    arch.lineTo(dome.left(), dome.center().y());
    arch.arcTo(dome, 180, -180);
    arch.lineTo(dome.right(), bottom);
    arch.closeSubpath();
    return arch;
}

} // namespace art
