// The skinnable pictures: keypad and wide keys, page buttons, corner buttons, letter buttons,
// the jukebox backdrop with its centre mask, and the operator backdrop.

#include <QConicalGradient>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <cmath>

#include "artpainter.h"
#include "artwork.h"

namespace art {

namespace {

// Design sizes (pixels of the 800 x 600 screen).
constexpr int kKey = 42;
constexpr int kWideW = 130, kWideH = 21;
constexpr int kPageButton = 51;
constexpr int kCorner = 32;
constexpr int kLetter = 32;
constexpr int kMaskW = 637, kMaskH = 575;
constexpr int kBackdropW = 1600, kBackdropH = 1200; // twice the design size, for large screens

QImage keypadKey(bool down)
{
    QImage image = canvas(kKey, kKey, kPanel);
    QPainter p(&image);
    prepare(p);
    roundedKey(p, QRectF(1.5, 1.5, kKey - 3, kKey - 3), 8, down);
    return opaque(image);
}

QImage wideKey(bool down)
{
    QImage image = canvas(kWideW, kWideH, kPanel);
    QPainter p(&image);
    prepare(p);
    roundedKey(p, QRectF(1.5, 1.0, kWideW - 3, kWideH - 2.5), 7, down);
    return opaque(image);
}

QPainterPath chevron(QPointF c, qreal size, bool left)
{
    const qreal d = left ? -1 : 1;
    QPainterPath path;
    path.moveTo(c.x() - d * size * 0.45, c.y() - size * 0.75);
    path.lineTo(c.x() + d * size * 0.65, c.y());
    path.lineTo(c.x() - d * size * 0.45, c.y() + size * 0.75);
    path.closeSubpath();
    return path;
}

// Page buttons: a round key on a see-through square, so a tinted or replaced backdrop shows round it.
QImage pageButton(bool left, bool down)
{
    QImage image = canvas(kPageButton, kPageButton, Qt::transparent);
    {
        QPainter p(&image);
        prepare(p);
        roundButton(p, QRectF(2.5, 2.0, kPageButton - 5, kPageButton - 5), down);
    }
    const QPointF centre(kPageButton / 2.0 + (left ? -1.5 : 1.5), kPageButton / 2.0 - 0.5);
    const QPainterPath arrow = chevron(centre, 11, left);
    glow(
        image,
        [&](QPainter& p) {
            QLinearGradient fill(arrow.boundingRect().topLeft(), arrow.boundingRect().bottomLeft());
            fill.setColorAt(0, down ? QColor(255, 255, 240) : kAmberHot);
            fill.setColorAt(1, down ? kAmberHot : kAmber);
            p.setPen(QPen(QColor(40, 20, 0, 200), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(fill);
            p.drawPath(arrow);
        },
        down ? 4 : 3, down ? 1.6 : 0.9);
    return image.convertToFormat(QImage::Format_ARGB32);
}

enum class CornerIcon { Thumbnails, Search, Volume, Options };

void drawCornerIcon(QPainter& p, CornerIcon icon, QPointF c, const QColor& colour)
{
    p.save();
    p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    switch (icon) {
    case CornerIcon::Thumbnails:
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        for (int i = 0; i < 4; ++i)
            p.drawRoundedRect(QRectF(c.x() - 5.5 + (i % 2) * 6, c.y() - 5.5 + (i / 2) * 6, 5, 5), 1, 1);
        break;
    case CornerIcon::Search:
        p.drawEllipse(QPointF(c.x() - 1.2, c.y() - 1.2), 3.8, 3.8);
        p.setPen(QPen(colour, 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(c.x() + 1.8, c.y() + 1.8), QPointF(c.x() + 5.2, c.y() + 5.2));
        break;
    case CornerIcon::Volume: {
        QPainterPath speaker;
        speaker.moveTo(c.x() - 6, c.y() - 2);
        speaker.lineTo(c.x() - 3.5, c.y() - 2);
        speaker.lineTo(c.x(), c.y() - 5);
        speaker.lineTo(c.x(), c.y() + 5);
        speaker.lineTo(c.x() - 3.5, c.y() + 2);
        speaker.lineTo(c.x() - 6, c.y() + 2);
        speaker.closeSubpath();
        p.setBrush(colour);
        p.setPen(Qt::NoPen);
        p.drawPath(speaker);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(colour, 1.3, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(c.x() - 3, c.y() - 3.5, 7, 7), -50 * 16, 100 * 16);
        p.drawArc(QRectF(c.x() - 5, c.y() - 6, 12, 12), -50 * 16, 100 * 16);
        break;
    }
    case CornerIcon::Options: {
        QPainterPath gear;
        for (int i = 0; i < 16; ++i) {
            const qreal a = i * M_PI / 8 - M_PI / 16;
            const qreal r = (i % 2 == 0) ? 6.0 : 4.4;
            const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
            if (i == 0)
                gear.moveTo(pt);
            else
                gear.lineTo(pt);
        }
        gear.closeSubpath();
        QPainterPath hole;
        hole.addEllipse(c, 1.9, 1.9);
        p.setPen(Qt::NoPen);
        p.setBrush(colour);
        p.drawPath(gear.subtracted(hole));
        break;
    }
    }
    p.restore();
}

// A quarter disc hugging its screen corner (`corner` is where the screen corner lies), the rest of
// the square see-through.
QImage cornerButton(QPointF corner, CornerIcon icon, bool lit)
{
    QImage image = canvas(kCorner, kCorner, Qt::transparent);
    const qreal radius = kCorner - 1.0;
    const QPointF inward(corner.x() == 0 ? 1 : -1, corner.y() == 0 ? 1 : -1);
    const QPointF iconAt(corner.x() + inward.x() * 12.5, corner.y() + inward.y() * 12.5);
    {
        QPainter p(&image);
        prepare(p);
        p.setPen(Qt::NoPen);
        p.setBrush(chromeRing(corner, 45));
        p.drawEllipse(corner, radius, radius);
        QPainterPath face;
        face.addEllipse(corner, radius - 2.4, radius - 2.4);
        QRadialGradient body(iconAt, radius);
        if (lit) {
            body.setColorAt(0.0, kAmberHot);
            body.setColorAt(0.45, kAmber.darker(150));
            body.setColorAt(1.0, kAmberDeep.darker(300));
        } else {
            body.setColorAt(0.0, QColor(0x3A, 0x43, 0x5E));
            body.setColorAt(1.0, QColor(0x0C, 0x0F, 0x1A));
        }
        p.setBrush(body);
        p.drawPath(face);
        gloss(p, face, lit ? 0.3 : 0.45);
    }
    glow(
        image, [&](QPainter& p) { drawCornerIcon(p, icon, iconAt, lit ? QColor(40, 16, 0) : kAmber); }, 2,
        lit ? 0.0 : 0.9);
    return image.convertToFormat(QImage::Format_ARGB32);
}

// Letter buttons: a glass tile on pure black, which the letter bar treats as see-through.
QImage letterButton(bool down)
{
    QImage image = canvas(kLetter, kLetter, Qt::black);
    QPainter p(&image);
    prepare(p);
    const QRectF tile(2, 2, kLetter - 4, kLetter - 4);
    roundedKey(p, tile, 8, down);
    p.end();
    QPainterPath inside;
    inside.addRoundedRect(tile, 8, 8);
    return keyed(image, inside, Qt::black);
}

void brushedMetal(QPainter& p, const QRectF& area, const QColor& base, uint32_t seed)
{
    p.fillRect(area, base);
    Dice dice(seed);
    for (int y = int(area.top()); y < int(area.bottom()); ++y) {
        const int shade = int(dice.range(-6, 6));
        QColor line = shade >= 0 ? QColor(255, 255, 255, shade) : QColor(0, 0, 0, -shade * 2);
        p.fillRect(QRectF(area.left(), y, area.width(), 1), line);
    }
}

void neonLine(QImage& image, QLineF line, const QColor& colour, qreal width, int radius)
{
    glow(
        image,
        [&](QPainter& p) {
            p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(line);
            p.setPen(QPen(colour.lighter(160), width * 0.4, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(line);
        },
        radius, 1.5);
}

void albumAreaLights(QImage& image, const QRectF& area)
{
    QPainter p(&image);
    prepare(p);
    QRadialGradient spot(QPointF(area.center().x(), area.top() - 160), area.width() * 0.85);
    spot.setColorAt(0.0, QColor(0x4A, 0x34, 0x9A, 120));
    spot.setColorAt(0.5, QColor(0x24, 0x1C, 0x5A, 60));
    spot.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.fillRect(area, spot);
    QRadialGradient floor(QPointF(area.center().x(), area.bottom() + 120), area.width() * 0.6);
    floor.setColorAt(0.0, QColor(0xFF, 0x9A, 0x20, 55));
    floor.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.fillRect(area, floor);
    p.end();

    // Soft beams fanning down from the top and out-of-focus lights in the distance.
    QImage haze = canvas(image.width(), image.height());
    {
        QPainter h(&haze);
        prepare(h);
        h.setPen(Qt::NoPen);
        const QPointF source(area.center().x(), area.top() - 80);
        for (int i = -2; i <= 2; ++i) {
            QPolygonF beam;
            beam << source << QPointF(source.x() + i * 260 - 70, area.bottom())
                 << QPointF(source.x() + i * 260 + 70, area.bottom());
            QLinearGradient g(source, QPointF(source.x(), area.bottom()));
            g.setColorAt(0, QColor(200, 190, 255, 34));
            g.setColorAt(1, QColor(200, 190, 255, 0));
            h.setBrush(g);
            h.drawPolygon(beam);
        }
        Dice dice(20240601);
        const QColor tones[] = {kAmber, kMagenta, kCyan, QColor(0x8A, 0x6C, 0xFF)};
        for (int i = 0; i < 46; ++i) {
            QColor c = tones[dice.next() % 4];
            c.setAlpha(int(dice.range(10, 38)));
            h.setBrush(c);
            const qreal r = dice.range(8, 42);
            h.drawEllipse(
                QPointF(dice.range(area.left(), area.right()), dice.range(area.top(), area.bottom())), r, r);
        }
    }
    QPainter q(&image);
    q.drawImage(0, 0, blurred(haze, 18));
}

void rightColumn(QImage& image, const QRectF& column)
{
    {
        QPainter p(&image);
        prepare(p);
        brushedMetal(p, column, kPanel, 77);
        QLinearGradient shade(column.topLeft(), column.bottomLeft());
        shade.setColorAt(0.0, QColor(255, 255, 255, 14));
        shade.setColorAt(0.2, QColor(0, 0, 0, 0));
        shade.setColorAt(0.9, QColor(0, 0, 0, 0));
        shade.setColorAt(1.0, QColor(0, 0, 0, 60));
        p.fillRect(column, shade);
        // Chrome divider between the album area and the column.
        const QRectF divider(column.left(), column.top(), 8, column.height());
        QLinearGradient bar(divider.topLeft(), divider.topRight());
        bar.setColorAt(0.0, QColor(40, 44, 56));
        bar.setColorAt(0.35, QColor(235, 238, 246));
        bar.setColorAt(0.6, QColor(120, 126, 142));
        bar.setColorAt(1.0, QColor(20, 22, 30));
        p.fillRect(divider, bar);
        // The maker's plate at the foot of the column.
        QFont font(QStringLiteral("EB Garamond"));
        font.setPixelSize(34);
        font.setLetterSpacing(QFont::AbsoluteSpacing, 6);
        font.setWeight(QFont::DemiBold);
        p.setFont(font);
        const QRectF plate(column.left() + 40, column.bottom() - 118, column.width() - 80, 40);
        p.setPen(QColor(0, 0, 0, 160));
        p.drawText(plate.translated(0, 2), Qt::AlignCenter, QStringLiteral("MUSETRA"));
        p.setPen(QColor(160, 150, 120, 120));
        p.drawText(plate, Qt::AlignCenter, QStringLiteral("MUSETRA"));
    }
    neonLine(image, QLineF(column.left() + 16, column.top() + 30, column.left() + 16, column.bottom() - 30),
             kAmber, 2.0, 8);
}

void leftRail(QImage& image, const QRectF& rail)
{
    {
        QPainter p(&image);
        prepare(p);
        QLinearGradient metal(rail.topLeft(), rail.topRight());
        metal.setColorAt(0.0, QColor(0x0A, 0x0C, 0x14));
        metal.setColorAt(0.5, QColor(0x1D, 0x22, 0x33));
        metal.setColorAt(0.9, QColor(0x0E, 0x11, 0x1C));
        metal.setColorAt(1.0, QColor(0xB0, 0xB6, 0xC6));
        p.fillRect(rail, metal);
    }
    neonLine(image, QLineF(rail.center().x(), rail.top() + 80, rail.center().x(), rail.bottom() - 80),
             kMagenta, 1.6, 7);
}

void vignette(QImage& image, qreal strength)
{
    QPainter p(&image);
    QRadialGradient v(QPointF(image.width() / 2.0, image.height() / 2.0), image.width() * 0.75);
    v.setColorAt(0.55, QColor(0, 0, 0, 0));
    v.setColorAt(1.0, QColor(0, 0, 0, int(255 * strength)));
    p.fillRect(image.rect(), v);
}

QImage jukeboxBackground()
{
    QImage image = canvas(kBackdropW, kBackdropH);
    {
        QPainter p(&image);
        QLinearGradient base(0, 0, 0, kBackdropH);
        base.setColorAt(0.0, QColor(0x10, 0x12, 0x28));
        base.setColorAt(0.55, QColor(0x08, 0x0A, 0x16));
        base.setColorAt(1.0, QColor(0x04, 0x05, 0x0B));
        p.fillRect(image.rect(), base);
    }
    const qreal s = kBackdropW / 800.0;
    albumAreaLights(image, QRectF(19 * s, 0, 621 * s, kBackdropH));
    leftRail(image, QRectF(0, 0, 19 * s, kBackdropH));
    rightColumn(image, QRectF(640 * s, 0, 160 * s, kBackdropH));
    vignette(image, 0.55);
    return opaque(image);
}

// The frame round the album area: white is cut away, so only the bezel remains on screen.
QImage centerMask()
{
    QImage image = canvas(kMaskW, kMaskH, Qt::white);
    QPainterPath outer, inner;
    outer.addRoundedRect(QRectF(0, 0, kMaskW, kMaskH), 18, 18);
    inner.addRoundedRect(QRectF(8, 8, kMaskW - 16, kMaskH - 16), 12, 12);
    const QPainterPath bezel = outer.subtracted(inner);
    {
        QPainter p(&image);
        prepare(p);
        p.setPen(Qt::NoPen);
        QLinearGradient metal(0, 0, kMaskW, kMaskH);
        metal.setColorAt(0.0, QColor(0x4A, 0x50, 0x62));
        metal.setColorAt(0.5, QColor(0x1A, 0x1E, 0x2C));
        metal.setColorAt(1.0, QColor(0x38, 0x3D, 0x4E));
        p.setBrush(metal);
        p.drawPath(bezel);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(220, 224, 235, 200), 1.4));
        p.drawRoundedRect(QRectF(1.2, 1.2, kMaskW - 2.4, kMaskH - 2.4), 17, 17);
    }
    glow(
        image,
        [&](QPainter& p) {
            p.setPen(QPen(kAmber, 1.5));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(QRectF(6.2, 6.2, kMaskW - 12.4, kMaskH - 12.4), 13, 13);
        },
        2, 1.0);
    return keyed(image, bezel, Qt::white);
}

QImage adminBackdrop()
{
    QImage image = canvas(kBackdropW, kBackdropH);
    {
        QPainter p(&image);
        prepare(p);
        QLinearGradient base(0, 0, 0, kBackdropH);
        base.setColorAt(0.0, QColor(0x0C, 0x10, 0x20));
        base.setColorAt(1.0, QColor(0x03, 0x04, 0x09));
        p.fillRect(image.rect(), base);
        // Fine diagonal brushing.
        Dice dice(4242);
        for (int i = -kBackdropH; i < kBackdropW; i += 3) {
            p.setPen(QPen(QColor(255, 255, 255, int(dice.range(0, 7))), 1));
            p.drawLine(QPointF(i, 0), QPointF(i + kBackdropH, kBackdropH));
        }
        // The arch of a jukebox cabinet, drawn in faint chrome lines.
        const QPointF centre(kBackdropW / 2.0, kBackdropH * 0.62);
        for (int k = 0; k < 5; ++k) {
            const qreal r = 380 + k * 46;
            p.setPen(QPen(QColor(190, 200, 225, 34 - k * 5), 3));
            p.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 0, 180 * 16);
            p.drawLine(QPointF(centre.x() - r, centre.y()), QPointF(centre.x() - r, kBackdropH));
            p.drawLine(QPointF(centre.x() + r, centre.y()), QPointF(centre.x() + r, kBackdropH));
        }
        QRadialGradient warm(QPointF(kBackdropW / 2.0, kBackdropH + 200), kBackdropW * 0.7);
        warm.setColorAt(0.0, QColor(0xFF, 0xA0, 0x10, 90));
        warm.setColorAt(1.0, QColor(0, 0, 0, 0));
        p.fillRect(image.rect(), warm);
    }
    vignette(image, 0.6);
    return opaque(image);
}

} // namespace

QVector<Picture> skinPictures()
{
    QVector<Picture> pictures;
    const auto add = [&](const char* name, const QImage& image, bool jpeg = false) {
        pictures.append({QString::fromLatin1(name), image, jpeg});
    };
    add("BACKGROUND", jukeboxBackground(), true);
    add("ADMINBACKDROP", adminBackdrop(), true);
    add("CENTERMASK", centerMask());
    add("KEYPADUP", keypadKey(false));
    add("KEYPADDOWN", keypadKey(true));
    add("WIDEBUTUP", wideKey(false));
    add("WIDEBUTDOWN", wideKey(true));
    add("LBUTUP", pageButton(true, false));
    add("LBUTDOWN", pageButton(true, true));
    add("RBUTUP", pageButton(false, false));
    add("RBUTDOWN", pageButton(false, true));
    // The corner pictures named DOWN are the resting look; UP shows while the corner's panel is open.
    add("LCORNERUP", cornerButton(QPointF(0, 0), CornerIcon::Thumbnails, true));
    add("LCORNERDOWN", cornerButton(QPointF(0, 0), CornerIcon::Thumbnails, false));
    add("BLCORNERUP", cornerButton(QPointF(0, kCorner), CornerIcon::Search, true));
    add("BLCORNERDOWN", cornerButton(QPointF(0, kCorner), CornerIcon::Search, false));
    add("RCORNERUP", cornerButton(QPointF(kCorner, 0), CornerIcon::Volume, true));
    add("RCORNERDOWN", cornerButton(QPointF(kCorner, 0), CornerIcon::Volume, false));
    add("BRCORNERUP", cornerButton(QPointF(kCorner, kCorner), CornerIcon::Options, true));
    add("BRCORNERDOWN", cornerButton(QPointF(kCorner, kCorner), CornerIcon::Options, false));
    add("ALPHABUTTONUP", letterButton(false));
    add("ALPHABUTTONDOWN", letterButton(true));
    return pictures;
}

} // namespace art
