#include "controls/drawing.h"

#include <QColor>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QThread>
#include <QWidget>
#include <algorithm>

#include "skins/imaging.h"

namespace controls {

QImage keyedOut(const QImage& picture, QRgb key)
{
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb opaqueKey = key | 0xFF000000u;
    for (int y = 0; y < out.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (row[x] == opaqueKey) row[x] = 0;
    }
    return out;
}

void drawKeyed(QPainter& painter, const QRect& target, const QImage& picture, QRgb key)
{
    if (target.isEmpty() || picture.isNull()) return;
    painter.drawImage(target, keyedOut(picture, key));
}

QImage sharedPiece(const QImage& picture, const QRect& place)
{
    auto* owner = new QImage(picture);
    const uchar* first = owner->constScanLine(place.top()) + place.left() * (owner->depth() / 8);
    return QImage(
        first, place.width(), place.height(), owner->bytesPerLine(), owner->format(),
        [](void* kept) { delete static_cast<QImage*>(kept); }, owner);
}

int textWidth(const QWidget& widget, const QFont& font, const QString& text)
{
    return QFontMetrics(font, &widget).horizontalAdvance(text);
}

int textHeight(const QWidget& widget, const QFont& font)
{
    return QFontMetrics(font, &widget).height();
}

void textOut(QPainter& painter, int x, int y, const QString& text)
{
    painter.drawText(x, y + painter.fontMetrics().ascent(), text);
}

QFont panelFont()
{
    return QFont(QStringLiteral("Garamond"));
}

QFont panelFont(int points, bool bold)
{
    QFont font = panelFont();
    font.setPointSize(std::max(1, points));
    font.setBold(bold);
    return font;
}

QImage programPicture(const QString& name)
{
    // Decoded once: the spinning globe asks for a frame ten times a second, buttons at every paint.
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    static QHash<QString, QImage> decoded;
    auto found = decoded.constFind(name);
    if (found == decoded.cend()) {
        QImage picture;
        (void)skins::loadbitmap(picture, name);
        found = decoded.insert(name, picture);
    }
    return *found;
}

QColor fontColor(const QWidget& widget)
{
    return widget.palette().color(QPalette::WindowText);
}

QRect pictureRect(const QImage& picture)
{
    return QRect(QPoint(2, 2), QPoint(picture.width() + 2, picture.height()) - QPoint(1, 1));
}

} // namespace controls
