// The pictures that are always the program's own: round buttons, check marks, number-field
// buttons, list arrows, globe frames, icons, the logo, the view switch, the on-screen keyboard
// key, queue keys, control-panel keys, progress-ring discs and the blank cursor.

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "artpainter.h"
#include "artwork.h"

namespace art {

namespace {

constexpr int kBall = 28;    // round action buttons, tick and cross
constexpr int kNumeric = 32; // plus and minus
constexpr int kArrowW = 18, kArrowH = 15;
constexpr int kGlobe = 152;
constexpr int kIcon = 24;     // list-row icons
constexpr int kPanelKey = 37; // reject, mute, volume
constexpr int kQueueW = 30, kQueueTallH = 40, kQueueH = 30;

QPainterPath circle(QPointF c, qreal r)
{
    QPainterPath path;
    path.addEllipse(c, r, r);
    return path;
}

QPainterPath outlineOf(const QPainterPath& path, qreal width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setJoinStyle(Qt::RoundJoin);
    stroker.setCapStyle(Qt::RoundCap);
    return stroker.createStroke(path).united(path);
}

QFont garamond(int pixels, int weight = QFont::DemiBold)
{
    QFont font(QStringLiteral("EB Garamond"));
    font.setPixelSize(pixels);
    font.setWeight(QFont::Weight(weight));
    return font;
}

// A glossy coloured ball on white, which the buttons draw see-through.
QImage ball(const QColor& tone, bool down)
{
    QImage image = canvas(kBall, kBall, kNight);
    const QPointF c(kBall / 2.0, kBall / 2.0);
    const qreal r = kBall / 2.0 - 2;
    {
        QPainter p(&image);
        prepare(p);
        p.setPen(Qt::NoPen);
        QRadialGradient body(
            down ? QPointF(c.x(), c.y() + r * 0.35) : QPointF(c.x() - r * 0.3, c.y() - r * 0.35), r * 1.35);
        body.setColorAt(0.0, tone.lighter(down ? 150 : 175));
        body.setColorAt(0.45, down ? tone.darker(115) : tone);
        body.setColorAt(1.0, tone.darker(down ? 420 : 300));
        p.setBrush(body);
        p.drawEllipse(c, r, r);
        QLinearGradient shine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y()));
        shine.setColorAt(0.0, QColor(255, 255, 255, down ? 110 : 190));
        shine.setColorAt(1.0, QColor(255, 255, 255, 0));
        p.setBrush(shine);
        p.drawEllipse(QRectF(c.x() - r * 0.62, c.y() - r * 0.9, r * 1.24, r * 0.8));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(tone.darker(350), 1.0));
        p.drawEllipse(c, r - 0.5, r - 0.5);
    }
    return keyed(image, circle(c, r + 0.3), Qt::white);
}

QImage checkMark(bool tick)
{
    QImage image = canvas(kBall, kBall, kNight);
    const QRectF box(2, 2, kBall - 4, kBall - 4);
    {
        QPainter p(&image);
        prepare(p);
        roundedKey(p, box, 6, false);
    }
    QPainterPath mark;
    if (tick) {
        mark.moveTo(8.5, 14.5);
        mark.lineTo(12.5, 19);
        mark.lineTo(20, 8.5);
    } else {
        mark.moveTo(9, 9);
        mark.lineTo(19, 19);
        mark.moveTo(19, 9);
        mark.lineTo(9, 19);
    }
    const QColor colour = tick ? QColor(0x3B, 0xFF, 0x7A) : QColor(0xFF, 0x3B, 0x4E);
    glow(
        image,
        [&](QPainter& p) {
            p.setPen(QPen(colour, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(mark);
            p.setPen(QPen(colour.lighter(160), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(mark);
        },
        3, 1.2);
    QPainterPath inside;
    inside.addRoundedRect(box, 6, 6);
    return keyed(image, inside, Qt::white);
}

QImage numericButton(bool plus, bool down)
{
    QImage image = canvas(kNumeric, kNumeric, kNight);
    const QRectF r(1.5, 1.5, kNumeric - 3, kNumeric - 3);
    {
        QPainter p(&image);
        prepare(p);
        roundButton(p, r, down);
    }
    const QPointF c = r.center();
    glow(
        image,
        [&](QPainter& p) {
            p.setPen(QPen(down ? QColor(50, 20, 0) : kAmber, 3.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(c.x() - 6, c.y()), QPointF(c.x() + 6, c.y()));
            if (plus) p.drawLine(QPointF(c.x(), c.y() - 6), QPointF(c.x(), c.y() + 6));
        },
        2, down ? 0.0 : 1.0);
    return keyed(image, circle(c, r.width() / 2 + 0.3), Qt::white);
}

enum class ArrowStyle { Solid, Chrome, Chevrons };

QPainterPath arrowShape(bool up, ArrowStyle style)
{
    QPainterPath path;
    const auto y = [up](qreal v) { return up ? v : kArrowH - v; };
    if (style == ArrowStyle::Chevrons) {
        for (qreal top : {2.5, 7.5}) {
            path.moveTo(3, y(top + 5));
            path.lineTo(9, y(top));
            path.lineTo(15, y(top + 5));
        }
        return path;
    }
    path.moveTo(9, y(1.5));
    path.lineTo(16.5, y(12.5));
    path.lineTo(1.5, y(12.5));
    path.closeSubpath();
    return path;
}

QImage listArrow(bool up, bool pressed, ArrowStyle style)
{
    QImage image = canvas(kArrowW, kArrowH, kNight);
    const QPainterPath shape = arrowShape(up, style);
    const QRectF box = shape.boundingRect();
    glow(
        image,
        [&](QPainter& p) {
            if (style == ArrowStyle::Chevrons) {
                p.setPen(QPen(pressed ? kAmberHot : kAmber, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                p.drawPath(shape);
                return;
            }
            QLinearGradient fill(box.topLeft(), box.bottomLeft());
            if (style == ArrowStyle::Chrome)
                fill = chrome(box, pressed ? 1.1 : 0.95);
            else {
                fill.setColorAt(0, pressed ? QColor(255, 250, 220) : kAmberHot);
                fill.setColorAt(1, pressed ? kAmberHot : kAmberDeep);
            }
            p.setPen(QPen(pressed ? kAmberHot : QColor(30, 20, 0), 1.0, Qt::SolidLine, Qt::RoundCap,
                          Qt::RoundJoin));
            p.setBrush(fill);
            p.drawPath(shape);
        },
        1, pressed ? 1.0 : 0.0);
    const qreal margin = style == ArrowStyle::Chevrons ? 3.0 : 1.6;
    return keyed(image, outlineOf(shape, margin), Qt::white);
}

// Angular distance in radians between two points given by latitude and longitude.
double arc(double lat1, double lon1, double lat2, double lon2)
{
    const double c =
        std::sin(lat1) * std::sin(lat2) + std::cos(lat1) * std::cos(lat2) * std::cos(lon1 - lon2);
    return std::acos(std::clamp(c, -1.0, 1.0));
}

// Land (0..1) at a point of the globe: soft continents with ragged coasts.
double land(double lat, double lon)
{
    struct Blob
    {
        double lat, lon, size;
    };
    static const Blob blobs[] = {{45, -100, 24}, {60, -75, 14}, {-15, -60, 17}, {-35, -65, 9}, {50, 15, 11},
                                 {5, 20, 20},    {-20, 28, 12}, {50, 90, 28},   {62, 120, 18}, {22, 78, 9},
                                 {-25, 135, 13}, {72, -40, 8},  {35, 105, 14},  {-78, 0, 12}};
    constexpr double rad = M_PI / 180;
    double best = 0;
    for (const Blob& b : blobs)
        best =
            std::max(best, std::exp(-std::pow(arc(lat, lon, b.lat * rad, b.lon * rad) / (b.size * rad), 2)));
    const double ragged = 0.12 * std::sin(lat * 17 + lon * 5) * std::cos(lon * 13 - lat * 3);
    return std::clamp((best + ragged - 0.42) * 6, 0.0, 1.0);
}

QRgb globeSample(double nx, double ny, double turn)
{
    const double r2 = nx * nx + ny * ny;
    if (r2 > 1) {
        const double halo = std::clamp(1 - (std::sqrt(r2) - 1) / 0.05, 0.0, 1.0);
        return qRgb(0, int(60 * halo), int(110 * halo));
    }
    const double nz = std::sqrt(1 - r2);
    constexpr double tilt = 0.36;
    const double y = ny * std::cos(tilt) - nz * std::sin(tilt);
    const double z = ny * std::sin(tilt) + nz * std::cos(tilt);
    const double lat = -std::asin(std::clamp(y, -1.0, 1.0));
    const double lon = std::atan2(nx, z) + turn;
    const double light = std::clamp(-0.45 * nx - 0.55 * ny + 0.7 * nz, 0.0, 1.0) * 0.8 + 0.2;
    const double l = land(lat, lon);
    double red = (0.03 + 0.10 * l) * light, green = (0.16 + 0.62 * l) * light,
           blue = (0.42 + 0.18 * l) * light;
    // Latitude and longitude lines every 30 degrees.
    const double step = M_PI / 6;
    const double fl = std::abs(std::remainder(lat, step)),
                 fo = std::abs(std::remainder(lon, step)) * std::cos(lat);
    const double line =
        std::max(std::clamp(1 - fl / 0.02, 0.0, 1.0), std::clamp(1 - fo / 0.02, 0.0, 1.0)) * 0.35;
    red += line * 0.15, green += line * 0.85, blue += line;
    const double specular = std::pow(std::clamp(-0.3 * nx - 0.4 * ny + 0.87 * nz, 0.0, 1.0), 30) * 0.7;
    const double rim = std::pow(1 - nz, 3) * 0.6;
    red += specular + rim * 0.1, green += specular + rim * 0.7, blue += specular + rim;
    const auto byte = [](double v) { return int(std::clamp(v, 0.0, 1.0) * 255 + 0.5); };
    return qRgb(byte(red), byte(green), byte(blue));
}

QImage globeFrame(int frame)
{
    QImage image(kGlobe, kGlobe, QImage::Format_RGB888);
    const double turn = (frame - 1) * 2 * M_PI / 9;
    const double radius = kGlobe / 2.0 - 5;
    constexpr int kSamples = 3;
    for (int y = 0; y < kGlobe; ++y) {
        for (int x = 0; x < kGlobe; ++x) {
            int r = 0, g = 0, b = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double px = x + (sx + 0.5) / kSamples, py = y + (sy + 0.5) / kSamples;
                    const QRgb s =
                        globeSample((px - kGlobe / 2.0) / radius, (py - kGlobe / 2.0) / radius, turn);
                    r += qRed(s), g += qGreen(s), b += qBlue(s);
                }
            }
            constexpr int n = kSamples * kSamples;
            image.setPixel(x, y, qRgb(r / n, g / n, b / n));
        }
    }
    return image;
}

// The retailer's badge shown above the price of a downloaded cover: a chrome-edged tag with a
// shopping bag and "CD SHOP", on white that the program makes see-through.
QImage retailerLogo()
{
    QImage image = canvas(140, 40, Qt::white);
    QPainterPath tag;
    tag.addRoundedRect(QRectF(1.5, 1.5, 137, 37), 9, 9);
    {
        QPainter p(&image);
        prepare(p);
        p.setPen(QPen(QBrush(chrome(tag.boundingRect())), 2.4));
        p.setBrush(darkGlass(tag.boundingRect()));
        p.drawPath(tag);
        p.setPen(Qt::NoPen);
        p.setBrush(kAmber);
        p.drawPolygon(QPolygonF({QPointF(12, 16), QPointF(30, 16), QPointF(33, 32), QPointF(9, 32)}));
        p.setPen(QPen(kAmber, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(16.5, 10, 9, 12), 0, 180 * 16);
        p.setPen(QPen(kNight, 1.2));
        p.drawLine(QPointF(12.5, 19), QPointF(29.5, 19));
        p.setFont(garamond(20, QFont::Bold));
        p.setPen(kAmberHot);
        p.drawText(QRectF(36, 0, 98, 40), Qt::AlignCenter, QStringLiteral("CD SHOP"));
    }
    return keyed(image, tag, Qt::white);
}

QImage discIcon()
{
    QImage image = canvas(kIcon, kIcon, kNight);
    const QPointF c(kIcon / 2.0, kIcon / 2.0);
    const qreal r = kIcon / 2.0 - 1.5;
    {
        QPainter p(&image);
        prepare(p);
        p.setPen(Qt::NoPen);
        QConicalGradient sheen(c, 30);
        const QColor stops[] = {QColor(230, 232, 240), QColor(120, 220, 255), QColor(200, 140, 255),
                                QColor(230, 232, 240), QColor(255, 210, 120), QColor(140, 255, 190),
                                QColor(230, 232, 240)};
        for (int i = 0; i < 7; ++i)
            sheen.setColorAt(i / 6.0, stops[i]);
        p.setBrush(sheen);
        p.drawEllipse(c, r, r);
        p.setBrush(QColor(60, 66, 80));
        p.drawEllipse(c, 4.2, 4.2);
    }
    return keyed(image, circle(c, r + 0.3).subtracted(circle(c, 2.6)), Qt::red);
}

QImage notesIcon()
{
    QImage image = canvas(kIcon, kIcon, kNight);
    QPainterPath notes;
    notes.addEllipse(QPointF(6.5, 18.5), 3.6, 2.7);
    notes.addEllipse(QPointF(17.5, 16.5), 3.6, 2.7);
    notes.addRect(QRectF(9.1, 5.5, 1.6, 13));
    notes.addRect(QRectF(20.1, 3.5, 1.6, 13));
    QPainterPath beam;
    beam.moveTo(9.1, 5.5);
    beam.lineTo(21.7, 3.5);
    beam.lineTo(21.7, 7.3);
    beam.lineTo(9.1, 9.3);
    beam.closeSubpath();
    notes = notes.united(beam);
    {
        QPainter p(&image);
        prepare(p);
        QLinearGradient fill(0, 3, 0, 21);
        fill.setColorAt(0, kAmberHot);
        fill.setColorAt(1, kAmberDeep);
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawPath(notes);
    }
    return keyed(image, outlineOf(notes, 1.2), Qt::red);
}

QImage logo()
{
    QImage image = canvas(320, 110, Qt::white);
    QPainter p(&image);
    prepare(p);
    // The emblem: a jukebox arch in chrome with an amber neon tube.
    const QPainterPath arch = archPath(QRectF(14, 8, 72, 72), 100);
    p.setPen(Qt::NoPen);
    p.setBrush(chrome(arch.boundingRect(), 0.9));
    p.drawPath(arch);
    const QPainterPath innerArch = archPath(QRectF(22, 16, 56, 56), 96);
    QLinearGradient body(0, 16, 0, 96);
    body.setColorAt(0, QColor(0x2A, 0x22, 0x5A));
    body.setColorAt(1, QColor(0x0A, 0x0C, 0x18));
    p.setBrush(body);
    p.drawPath(innerArch);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kAmber, 2.4));
    p.drawArc(QRectF(28, 22, 44, 44), 0, 180 * 16);
    for (int i = 0; i < 5; ++i) {
        p.setPen(QPen(QColor(0xC9, 0x8A, 0x00, 200), 1.6));
        p.drawLine(QPointF(30, 62 + i * 7), QPointF(70, 62 + i * 7));
    }
    // The name.
    QFont name = garamond(50, QFont::Bold);
    name.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    while (QFontMetricsF(name).horizontalAdvance(QStringLiteral("MUSETRA")) > 212)
        name.setPixelSize(name.pixelSize() - 1);
    p.setFont(name);
    QLinearGradient ink(0, 18, 0, 70);
    ink.setColorAt(0, QColor(0x3A, 0x44, 0x66));
    ink.setColorAt(0.5, QColor(0x0E, 0x12, 0x24));
    ink.setColorAt(1, QColor(0x2A, 0x30, 0x4A));
    p.setPen(QPen(QBrush(ink), 1));
    p.drawText(QRectF(98, 8, 220, 64), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("MUSETRA"));
    QFont sub = garamond(17, QFont::DemiBold);
    sub.setLetterSpacing(QFont::AbsoluteSpacing, 9);
    p.setFont(sub);
    p.setPen(QColor(0xB0, 0x74, 0x00));
    p.drawText(QRectF(101, 70, 220, 26), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("JUKEBOX"));
    p.end();
    return opaque(image);
}

QImage viewSwitch(bool prism)
{
    QImage image = canvas(60, 50, kPanel);
    {
        QPainter p(&image);
        prepare(p);
        roundedKey(p, QRectF(1.5, 1.5, 57, 47), 9, false);
    }
    glow(
        image,
        [&](QPainter& p) {
            p.setPen(QPen(kAmber, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(QColor(0xF7, 0xC6, 0x00, 40));
            if (prism) {
                // A turning prism seen from above the front edge.
                const QPolygonF front({QPointF(12, 14), QPointF(27, 11), QPointF(27, 35), QPointF(12, 32)});
                const QPolygonF side({QPointF(27, 11), QPointF(40, 15), QPointF(40, 33), QPointF(27, 35)});
                p.drawPolygon(front);
                p.drawPolygon(side);
            } else {
                for (int i = 0; i < 4; ++i)
                    p.drawRect(QRectF(11 + (i % 2) * 15, 10 + (i / 2) * 14, 12, 11));
            }
            p.setFont(garamond(13, QFont::Bold));
            p.setPen(kAmberHot);
            p.drawText(QRectF(40, 28, 18, 18), Qt::AlignCenter,
                       prism ? QStringLiteral("3D") : QStringLiteral("2D"));
        },
        2, 0.8);
    return opaque(image);
}

QImage keyboardKey(bool showing)
{
    QImage image = canvas(100, 30, kNight);
    const QRectF pill(1.5, 1.5, 97, 27);
    {
        QPainter p(&image);
        prepare(p);
        roundedKey(p, pill, 12, showing);
    }
    glow(
        image,
        [&](QPainter& p) {
            const QColor ink = showing ? QColor(255, 248, 225) : kAmber;
            p.setPen(QPen(ink, 1.3));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(QRectF(10, 8.5, 24, 13), 2.5, 2.5);
            p.setPen(Qt::NoPen);
            p.setBrush(ink);
            for (int row = 0; row < 2; ++row)
                for (int col = 0; col < 5; ++col)
                    p.drawRect(QRectF(12.5 + col * 4, 11 + row * 3.5, 2.2, 2));
            p.drawRect(QRectF(16, 18, 12, 1.6));
            p.setFont(garamond(15, QFont::Bold));
            p.setPen(ink);
            p.drawText(QRectF(38, 2, 58, 26), Qt::AlignCenter, QStringLiteral("Keyboard"));
        },
        2, showing ? 0.6 : 0.9);
    QPainterPath inside;
    inside.addRoundedRect(pill, 12, 12);
    return keyed(image, inside, Qt::white);
}

enum class QueueIcon { MoveUp, MoveDown, Remove, Play, Purge };

void drawQueueIcon(QPainter& p, QueueIcon icon, const QRectF& r, const QColor& ink)
{
    const QPointF c = r.center();
    p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(ink);
    switch (icon) {
    case QueueIcon::MoveUp:
    case QueueIcon::MoveDown: {
        const qreal d = icon == QueueIcon::MoveUp ? -1 : 1;
        p.drawPolygon(QPolygonF({QPointF(c.x(), c.y() + d * 9), QPointF(c.x() - 6, c.y() + d * 2),
                                 QPointF(c.x() + 6, c.y() + d * 2)}));
        p.drawLine(QPointF(c.x(), c.y() + d * 2), QPointF(c.x(), c.y() - d * 8));
        break;
    }
    case QueueIcon::Remove:
        p.drawLine(QPointF(c.x() - 5, c.y() - 5), QPointF(c.x() + 5, c.y() + 5));
        p.drawLine(QPointF(c.x() + 5, c.y() - 5), QPointF(c.x() - 5, c.y() + 5));
        break;
    case QueueIcon::Play:
        p.setPen(QPen(ink, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolygon(QPolygonF(
            {QPointF(c.x() - 4, c.y() - 7), QPointF(c.x() + 7, c.y()), QPointF(c.x() - 4, c.y() + 7)}));
        break;
    case QueueIcon::Purge:
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(c.x() - 7, c.y() - 5), QPointF(c.x() + 7, c.y() - 5));
        p.drawLine(QPointF(c.x() - 2, c.y() - 7.5), QPointF(c.x() + 2, c.y() - 7.5));
        p.drawPolygon(QPolygonF({QPointF(c.x() - 5.5, c.y() - 3), QPointF(c.x() + 5.5, c.y() - 3),
                                 QPointF(c.x() + 4.3, c.y() + 7.5), QPointF(c.x() - 4.3, c.y() + 7.5)}));
        p.drawLine(QPointF(c.x() - 1.8, c.y() - 1), QPointF(c.x() - 1.8, c.y() + 5.5));
        p.drawLine(QPointF(c.x() + 1.8, c.y() - 1), QPointF(c.x() + 1.8, c.y() + 5.5));
        break;
    }
}

// Queue-panel keys on pure red, which the panel draws see-through.
QImage queueKey(QueueIcon icon, bool down)
{
    const int h = (icon == QueueIcon::MoveUp || icon == QueueIcon::MoveDown) ? kQueueTallH : kQueueH;
    QImage image = canvas(kQueueW, h, kNight);
    const QRectF r(1.5, 1.5, kQueueW - 3, h - 3);
    {
        QPainter p(&image);
        prepare(p);
        roundedKey(p, r, 7, down);
    }
    const QColor ink =
        icon == QueueIcon::Remove || icon == QueueIcon::Purge ? QColor(0xFF, 0x5A, 0x5A) : kAmber;
    glow(
        image, [&](QPainter& p) { drawQueueIcon(p, icon, r, down ? QColor(255, 248, 225) : ink); }, 2,
        down ? 0.5 : 0.9);
    QPainterPath inside;
    inside.addRoundedRect(r, 7, 7);
    return keyed(image, inside, Qt::red);
}

enum class PanelIcon { Reject, Speaker, MutedSpeaker, None };

QImage panelKey(PanelIcon icon, bool down, const QColor& tone = kAmber)
{
    QImage image = canvas(kPanelKey, kPanelKey, kNight);
    const QRectF r(1.5, 1.5, kPanelKey - 3, kPanelKey - 3);
    {
        QPainter p(&image);
        prepare(p);
        roundButton(p, r, down, tone);
    }
    if (icon == PanelIcon::None) return opaque(image);
    const QPointF c = r.center();
    glow(
        image,
        [&](QPainter& p) {
            const QColor ink = down ? QColor(255, 246, 230) : kAmber;
            p.setPen(Qt::NoPen);
            p.setBrush(ink);
            if (icon == PanelIcon::Reject) {
                // Skip to the next track: two arrow heads against a bar.
                p.drawPolygon(QPolygonF({QPointF(c.x() - 8, c.y() - 6), QPointF(c.x() - 1, c.y()),
                                         QPointF(c.x() - 8, c.y() + 6)}));
                p.drawPolygon(QPolygonF({QPointF(c.x() - 1, c.y() - 6), QPointF(c.x() + 6, c.y()),
                                         QPointF(c.x() - 1, c.y() + 6)}));
                p.drawRect(QRectF(c.x() + 6, c.y() - 6, 2.2, 12));
                return;
            }
            QPainterPath speaker;
            speaker.moveTo(c.x() - 8, c.y() - 3);
            speaker.lineTo(c.x() - 4, c.y() - 3);
            speaker.lineTo(c.x() + 1, c.y() - 8);
            speaker.lineTo(c.x() + 1, c.y() + 8);
            speaker.lineTo(c.x() - 4, c.y() + 3);
            speaker.lineTo(c.x() - 8, c.y() + 3);
            speaker.closeSubpath();
            p.drawPath(speaker);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
            if (icon == PanelIcon::Speaker) {
                p.drawArc(QRectF(c.x() - 3, c.y() - 4.5, 9, 9), -50 * 16, 100 * 16);
                p.drawArc(QRectF(c.x() - 5, c.y() - 8, 16, 16), -50 * 16, 100 * 16);
            } else {
                p.setPen(QPen(ink, 2.0, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(QPointF(c.x() + 4, c.y() - 4), QPointF(c.x() + 10, c.y() + 4));
                p.drawLine(QPointF(c.x() + 10, c.y() - 4), QPointF(c.x() + 4, c.y() + 4));
            }
        },
        2, down ? 0.5 : 1.0);
    return opaque(image);
}

QRgb hueColour(double hue, double saturation, double value)
{
    return QColor::fromHsvF(std::fmod(std::fmod(hue, 1.0) + 1.0, 1.0), saturation, value).rgb();
}

// A compact disc catching the light: the coloured picture of the track progress ring.
QImage compactDisc(int size)
{
    QImage image(size, size, QImage::Format_RGB888);
    const double c = size / 2.0, outer = size / 2.0 - 2, hole = size * 0.06, clear = size * 0.15;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double dx = x + 0.5 - c, dy = y + 0.5 - c;
            const double d = std::hypot(dx, dy), a = std::atan2(dy, dx);
            QColor px(0x05, 0x06, 0x0C);
            if (d < outer && d > hole) {
                if (d < clear) {
                    const int v = int(120 + 60 * std::cos(a * 2 + 0.6));
                    px = QColor(v, v, v + 10);
                } else {
                    const double band = std::pow(std::abs(std::cos(a - 0.7)), 3);
                    const double hue = a / (2 * M_PI) * 2 + d / outer * 0.9;
                    const QColor rainbow(hueColour(hue, 0.85, 1.0));
                    const double groove = 0.92 + 0.08 * std::sin(d * 1.7);
                    const double silver = (170 + 50 * std::cos(a * 2 + 1.2)) * groove;
                    px = QColor(int(silver * (1 - band) + rainbow.red() * band),
                                int(silver * (1 - band) + rainbow.green() * band),
                                int(std::min(255.0, (silver + 12) * (1 - band) + rainbow.blue() * band)));
                }
                if (std::abs(d - outer) < 1.5 || std::abs(d - clear) < 0.8) px = px.lighter(125);
            }
            image.setPixelColor(x, y, px);
        }
    }
    return image;
}

// Rings of data blocks lighting up: the coloured picture of the encoding progress ring.
QImage dataRings(int size)
{
    QImage image = canvas(size, size, kNight);
    glow(
        image,
        [&](QPainter& p) {
            Dice dice(99);
            const QPointF c(size / 2.0, size / 2.0);
            for (int ring = 0; ring < 6; ++ring) {
                const qreal r = size * (0.14 + ring * 0.065);
                const int blocks = 10 + ring * 5;
                for (int i = 0; i < blocks; ++i) {
                    if (dice.unit() < 0.25) continue;
                    const double t = double(ring) / 5;
                    QColor colour = QColor::fromRgbF(0.17 + 0.83 * t, 0.85 - 0.6 * t, 1.0 - 0.35 * t);
                    p.setPen(QPen(colour, size * 0.04, Qt::SolidLine, Qt::FlatCap));
                    const int start = int(i * 5760.0 / blocks);
                    p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), start, int(5760.0 / blocks * 0.7));
                }
            }
            p.setPen(Qt::NoPen);
            p.setBrush(kAmber);
            p.drawEllipse(c, size * 0.07, size * 0.07);
        },
        3, 1.2);
    return opaque(image);
}

// The picture behind "no cover" messages: a record in the dark, its label above the message lines.
QImage noCover()
{
    constexpr int kSize = 170;
    QImage image = canvas(kSize, kSize);
    QPainter p(&image);
    prepare(p);
    QRadialGradient back(QPointF(85, 60), 130);
    back.setColorAt(0.0, QColor(0x22, 0x24, 0x3C));
    back.setColorAt(1.0, QColor(0x06, 0x07, 0x0E));
    p.fillRect(image.rect(), back);
    const QPointF c(85, 66);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0A, 0x0A, 0x0E));
    p.drawEllipse(c, 58, 58);
    for (int r = 22; r < 57; r += 3) {
        p.setPen(QPen(QColor(255, 255, 255, r % 2 ? 14 : 7), 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, r, r);
    }
    QConicalGradient sheen(c, 35);
    sheen.setColorAt(0.00, QColor(255, 255, 255, 60));
    sheen.setColorAt(0.12, QColor(255, 255, 255, 0));
    sheen.setColorAt(0.50, QColor(255, 255, 255, 50));
    sheen.setColorAt(0.62, QColor(255, 255, 255, 0));
    sheen.setColorAt(1.00, QColor(255, 255, 255, 60));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawEllipse(c, 57, 57);
    QRadialGradient label(c, 17);
    label.setColorAt(0.0, kAmberHot);
    label.setColorAt(1.0, kAmberDeep);
    p.setBrush(label);
    p.drawEllipse(c, 17, 17);
    p.setBrush(QColor(0x06, 0x07, 0x0E));
    p.drawEllipse(c, 2.5, 2.5);
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, 0.5, kSize - 1, kSize - 1), 6, 6);
    p.end();
    return opaque(image);
}

QImage blankCursor()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

QVector<Picture> fixedPictures()
{
    QVector<Picture> pictures;
    const auto add = [&](const QString& name, const QImage& image) { pictures.append({name, image, false}); };
    add(QStringLiteral("NOIMAGE"), noCover());
    struct Ball
    {
        const char* name;
        QColor tone;
    };
    const Ball balls[] = {{"BLUE", QColor(0x1E, 0x6B, 0xFF)},
                          {"GREEN", QColor(0x19, 0xC2, 0x4A)},
                          {"RED", QColor(0xE0, 0x24, 0x2E)},
                          {"PURPLE", QColor(0x9B, 0x3B, 0xFF)},
                          {"YELLOW", QColor(0xFF, 0xC6, 0x1A)}};
    for (const Ball& b : balls) {
        add(QString::fromLatin1(b.name) + QStringLiteral("UP"), ball(b.tone, false));
        add(QString::fromLatin1(b.name) + QStringLiteral("DOWN"), ball(b.tone, true));
    }
    add(QStringLiteral("TICK"), checkMark(true));
    add(QStringLiteral("CROSS"), checkMark(false));
    add(QStringLiteral("PLUSUP"), numericButton(true, false));
    add(QStringLiteral("PLUSDOWN"), numericButton(true, true));
    add(QStringLiteral("MINUSUP"), numericButton(false, false));
    add(QStringLiteral("MINUSDOWN"), numericButton(false, true));
    const struct
    {
        const char* prefix;
        ArrowStyle style;
    } arrowSets[] = {{"", ArrowStyle::Solid}, {"SELECTER", ArrowStyle::Chrome}, {"P", ArrowStyle::Chevrons}};
    for (const auto& set : arrowSets) {
        const QString prefix = QString::fromLatin1(set.prefix);
        add(prefix + QStringLiteral("UPNORMAL"), listArrow(true, false, set.style));
        add(prefix + QStringLiteral("UPPRESSED"), listArrow(true, true, set.style));
        add(prefix + QStringLiteral("DOWNNORMAL"), listArrow(false, false, set.style));
        add(prefix + QStringLiteral("DOWNPRESSED"), listArrow(false, true, set.style));
    }
    for (int frame = 1; frame <= 9; ++frame)
        add(QStringLiteral("G%1").arg(frame), globeFrame(frame));
    add(QStringLiteral("CDICON"), discIcon());
    add(QStringLiteral("NOTES"), notesIcon());
    add(QStringLiteral("LOGO"), logo());
    add(QStringLiteral("RETAILER"), retailerLogo());
    add(QStringLiteral("VIEW3D"), viewSwitch(true));
    add(QStringLiteral("VIEWNORM"), viewSwitch(false));
    add(QStringLiteral("KEYBOARDICONUP"), keyboardKey(true));
    add(QStringLiteral("KEYBOARDICONDOWN"), keyboardKey(false));
    const struct
    {
        const char* name;
        QueueIcon icon;
    } queueKeys[] = {{"MOVEUP", QueueIcon::MoveUp},
                     {"MOVEDOWN", QueueIcon::MoveDown},
                     {"REMOVE", QueueIcon::Remove},
                     {"PLAY", QueueIcon::Play},
                     {"PURGE", QueueIcon::Purge}};
    for (const auto& key : queueKeys) {
        const QString base = QStringLiteral("PLAYLIST_") + QString::fromLatin1(key.name);
        add(base + QStringLiteral("_UP"), queueKey(key.icon, false));
        add(base + QStringLiteral("_DOWN"), queueKey(key.icon, true));
    }
    add(QStringLiteral("REJECTUP"), panelKey(PanelIcon::Reject, false));
    add(QStringLiteral("REJECTDOWN"), panelKey(PanelIcon::Reject, true, QColor(0xFF, 0x4A, 0x3A)));
    add(QStringLiteral("MUTEUP"), panelKey(PanelIcon::Speaker, false));
    add(QStringLiteral("MUTEDOWN"), panelKey(PanelIcon::MutedSpeaker, true, QColor(0xFF, 0x4A, 0x3A)));
    add(QStringLiteral("VOLUMEUP"), panelKey(PanelIcon::None, false));
    add(QStringLiteral("VOLUMEDOWN"), panelKey(PanelIcon::None, true));
    add(QStringLiteral("cd"), compactDisc(300));
    add(QStringLiteral("dataprog"), dataRings(100));
    add(QStringLiteral("BLANKCURSOR"), blankCursor());
    return pictures;
}

} // namespace art
