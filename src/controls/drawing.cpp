#include "controls/drawing.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QWidget>

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

QImage programPicture(const QString& name)
{
    QImage picture;
    (void)skins::loadbitmap(picture, name);
    return picture;
}

QColor fontColor(const QWidget& widget)
{
    return widget.palette().color(QPalette::WindowText);
}

} // namespace controls

namespace controls {

namespace {
constexpr int kCaptionGap = 16;    // between the picture and the caption
constexpr int kCaptionSlack = 48;  // caption width + this must stay below the width
constexpr int kCaptionGrowth = 51; // the grown width is caption width + this
constexpr int kMinCaptionHeight = 32;
} // namespace

void autosizeForCaption(QWidget& control, const QString& caption)
{
    const int width = textWidth(control, control.font(), caption);
    const int height = textHeight(control, control.font());
    QSize size = control.size();
    if (width + kCaptionSlack >= size.width()) size.setWidth(width + kCaptionGrowth);
    if (height >= size.height()) size.setHeight(height);
    if (size.height() < kMinCaptionHeight) size.setHeight(kMinCaptionHeight);
    control.resize(size);
}

QRect pictureRect(const QImage& picture)
{
    return QRect(QPoint(2, 2), QPoint(picture.width() + 2, picture.height()) - QPoint(1, 1));
}

void drawCaption(QPainter& painter, const QWidget& control, const QImage& picture, const QString& caption,
                 const QColor* background)
{
    painter.setFont(control.font());
    const int x = picture.width() + kCaptionGap;
    const int y = control.height() / 2 - textHeight(control, control.font()) / 2;
    if (background)
        painter.fillRect(x, y, textWidth(control, control.font(), caption),
                         textHeight(control, control.font()), *background);
    painter.setPen(fontColor(control));
    textOut(painter, x, y, caption);
}

} // namespace controls
