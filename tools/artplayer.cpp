// The pictures of the desktop player window: the four mode pictures of its toolbar (34 x 34 on
// white, the toolbar fades them itself) and the glyphs of its transport buttons (18 x 18,
// see-through).

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "artpainter.h"
#include "artwork.h"

namespace art {

namespace {

constexpr int kMode = 34;
constexpr int kGlyph = 18;
const QColor kInk(0x1E, 0x24, 0x38);

QImage modePicture(const std::function<void(QPainter&)>& draw)
{
    QImage image = canvas(kMode, kMode, Qt::white);
    QPainter p(&image);
    prepare(p);
    draw(p);
    p.end();
    return opaque(image, Qt::white);
}

void disc(QPainter& p, const QPointF& c, qreal r)
{
    QConicalGradient face(c, 30);
    face.setColorAt(0.0, QColor(0xD8, 0xDE, 0xF0));
    face.setColorAt(0.25, QColor(0x8C, 0xF0, 0xFF));
    face.setColorAt(0.5, QColor(0xE8, 0xC8, 0xFF));
    face.setColorAt(0.75, QColor(0xFF, 0xE6, 0x9A));
    face.setColorAt(1.0, QColor(0xD8, 0xDE, 0xF0));
    p.setPen(QPen(QColor(0x6A, 0x72, 0x8A), 1));
    p.setBrush(face);
    p.drawEllipse(c, r, r);
    QRadialGradient label(c, r * 0.36);
    label.setColorAt(0, kAmberHot);
    label.setColorAt(1, kAmberDeep);
    p.setBrush(label);
    p.drawEllipse(c, r * 0.36, r * 0.36);
    p.setBrush(Qt::white);
    p.drawEllipse(c, r * 0.1, r * 0.1);
}

QImage cdMode()
{
    return modePicture([](QPainter& p) { disc(p, QPointF(17, 17), 14.5); });
}

QImage listMode()
{
    return modePicture([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xEE, 0xF1, 0xF8));
        p.drawRoundedRect(QRectF(4, 3, 26, 28), 3, 3);
        for (int i = 0; i < 5; ++i) {
            const qreal y = 8 + i * 5;
            p.setBrush(i == 1 ? kAmberDeep : kInk);
            p.drawEllipse(QPointF(9, y), 1.6, 1.6);
            p.fillRect(QRectF(13, y - 1, 14, 2), i == 1 ? kAmberDeep : kInk);
        }
        p.setPen(QPen(QColor(0x6A, 0x72, 0x8A), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(4, 3, 26, 28), 3, 3);
    });
}

void die(QPainter& p, const QRectF& r, const QColor& face, const QVector<QPointF>& pips)
{
    QLinearGradient shade(r.topLeft(), r.bottomRight());
    shade.setColorAt(0, face.lighter(130));
    shade.setColorAt(1, face.darker(120));
    p.setPen(QPen(face.darker(200), 1));
    p.setBrush(shade);
    p.drawRoundedRect(r, 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (const QPointF& pip : pips)
        p.drawEllipse(r.topLeft() + pip, 1.7, 1.7);
}

QImage randomMode()
{
    return modePicture([](QPainter& p) {
        die(p, QRectF(3, 12, 18, 18), QColor(0xE0, 0x24, 0x2E), {{4.5, 4.5}, {9, 9}, {13.5, 13.5}});
        die(p, QRectF(14, 3, 17, 17), QColor(0x1E, 0x6B, 0xFF),
            {{4.2, 4.2}, {12.8, 4.2}, {4.2, 12.8}, {12.8, 12.8}});
    });
}

QImage jukeboxMode()
{
    return modePicture([](QPainter& p) {
        const QPainterPath arch = archPath(QRectF(5, 2, 24, 26), 32);
        QLinearGradient body(0, 2, 0, 32);
        body.setColorAt(0, QColor(0x4A, 0x3A, 0x8A));
        body.setColorAt(1, QColor(0x12, 0x14, 0x28));
        p.setPen(QPen(kAmberDeep, 1.4));
        p.setBrush(body);
        p.drawPath(arch);
        p.setPen(QPen(kAmber, 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(10, 7, 14, 14), 0, 180 * 16);
        p.setPen(QPen(QColor(0xC9, 0x8A, 0x00), 1.2));
        for (int i = 0; i < 4; ++i)
            p.drawLine(QPointF(10, 18 + i * 3.5), QPointF(24, 18 + i * 3.5));
    });
}

// The transport glyph shapes, each drawn in dark ink on a see-through 18 x 18 picture.
enum class Glyph {
    Play,
    Pause,
    Stop,
    Back,
    SkipBack,
    SkipForward,
    Forward,
    CoverPick,
    Audition,
    Dj,
    Mute,
    TimeMode
};

QPainterPath triangle(qreal left, qreal right, qreal top, qreal bottom)
{
    QPainterPath path;
    path.moveTo(left, top);
    path.lineTo(right, (top + bottom) / 2);
    path.lineTo(left, bottom);
    path.closeSubpath();
    return path;
}

QPainterPath mirrored(const QPainterPath& path)
{
    return QTransform(-1, 0, 0, 1, kGlyph, 0).map(path);
}

QPainterPath glyphShape(Glyph glyph)
{
    QPainterPath path;
    switch (glyph) {
    case Glyph::Play:
        return triangle(5, 15, 3, 15);
    case Glyph::Pause:
        path.addRect(4, 3, 4, 12);
        path.addRect(10, 3, 4, 12);
        return path;
    case Glyph::Stop:
        path.addRect(4, 4, 10, 10);
        return path;
    case Glyph::Forward:
        path = triangle(3, 12, 3, 15);
        path.addRect(12, 3, 3, 12);
        return path;
    case Glyph::Back:
        return mirrored(glyphShape(Glyph::Forward));
    case Glyph::SkipForward:
        path = triangle(2, 9, 4, 14);
        path.addPath(triangle(9, 16, 4, 14));
        return path;
    case Glyph::SkipBack:
        return mirrored(glyphShape(Glyph::SkipForward));
    case Glyph::CoverPick:
        for (int i = 0; i < 4; ++i)
            path.addRect(2 + (i % 2) * 8, 2 + (i / 2) * 8, 6, 6);
        return path;
    case Glyph::Audition:
        path.addEllipse(QPointF(6, 13), 3, 2.4);
        path.addRect(8, 3, 1.6, 10);
        path.addRect(8, 3, 7, 2);
        path.addEllipse(QPointF(13, 11), 3, 2.4);
        path.addRect(14.4, 3, 1.6, 8);
        return path;
    case Glyph::Dj:
        path.addRoundedRect(QRectF(6, 1.5, 6, 9), 3, 3);
        path.addRect(8.2, 12, 1.6, 3);
        path.addRect(5, 15, 8, 1.6);
        return path;
    case Glyph::Mute:
        path.addRect(2, 6.5, 4, 5);
        path.moveTo(6, 6.5);
        path.lineTo(11, 2.5);
        path.lineTo(11, 15.5);
        path.lineTo(6, 11.5);
        path.closeSubpath();
        return path;
    case Glyph::TimeMode:
        break;
    }
    path.addEllipse(QPointF(9, 9), 7, 7);
    return path;
}

QImage glyphPicture(Glyph glyph)
{
    QImage image = canvas(kGlyph, kGlyph);
    QPainter p(&image);
    prepare(p);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    if (glyph == Glyph::TimeMode) {
        p.setPen(QPen(kInk, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawPath(glyphShape(glyph));
        p.drawLine(QPointF(9, 9), QPointF(9, 4.5));
        p.drawLine(QPointF(9, 9), QPointF(12.5, 10.5));
    } else {
        p.drawPath(glyphShape(glyph));
    }
    if (glyph == Glyph::Mute) {
        p.setPen(QPen(kInk, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(9, 5, 6, 8), -50 * 16, 100 * 16);
        p.drawArc(QRectF(8, 2.5, 9, 13), -50 * 16, 100 * 16);
    }
    if (glyph == Glyph::Dj) {
        p.setPen(QPen(kInk, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4, 5, 10, 9), 180 * 16, 180 * 16);
    }
    p.end();
    return image;
}

} // namespace

QVector<Picture> playerPictures()
{
    QVector<Picture> pictures = {{QStringLiteral("MODECD"), cdMode()},
                                 {QStringLiteral("MODELIST"), listMode()},
                                 {QStringLiteral("MODERANDOM"), randomMode()},
                                 {QStringLiteral("MODEJUKEBOX"), jukeboxMode()}};
    const struct
    {
        const char* name;
        Glyph glyph;
    } glyphs[] = {
        {"PLAY", Glyph::Play},       {"PAUSE", Glyph::Pause},         {"STOP", Glyph::Stop},
        {"BACK", Glyph::Back},       {"SKIPBACK", Glyph::SkipBack},   {"SKIPFORWARD", Glyph::SkipForward},
        {"FORWARD", Glyph::Forward}, {"COVERPICK", Glyph::CoverPick}, {"AUDITION", Glyph::Audition},
        {"DJ", Glyph::Dj},           {"MUTE", Glyph::Mute},           {"TIMEMODE", Glyph::TimeMode}};
    for (const auto& g : glyphs)
        pictures.append({QStringLiteral("GLYPH") + QString::fromLatin1(g.name), glyphPicture(g.glyph)});
    return pictures;
}

} // namespace art
