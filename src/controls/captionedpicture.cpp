#include "controls/captionedpicture.h"

#include <QColor>
#include <QImage>
#include <QPainter>

#include "controls/drawing.h"
#include "skins/colors.h"

namespace controls {

namespace {
constexpr int kCaptionGap = 16;    // between the picture and the caption
constexpr int kCaptionSlack = 48;  // caption width + this must stay below the width
constexpr int kCaptionGrowth = 51; // the grown width is caption width + this
constexpr int kMinCaptionHeight = 32;
} // namespace

CaptionedPicture::CaptionedPicture(QWidget* owner) : OwnerDrawn(owner), fcolor(skins::clWindow)
{
    resize(50, 32);
}

void CaptionedPicture::settext(const QString& s)
{
    ftext = s;
    autosize();
    Paint();
}

void CaptionedPicture::autosize()
{
    const int width = textWidth(*this, font(), ftext);
    const int height = textHeight(*this, font());
    QSize grown = size();
    if (width + kCaptionSlack >= grown.width()) grown.setWidth(width + kCaptionGrowth);
    if (height >= grown.height()) grown.setHeight(height);
    if (grown.height() < kMinCaptionHeight) grown.setHeight(kMinCaptionHeight);
    resize(grown);
}

void CaptionedPicture::drawCaption(QPainter& painter, const QImage& picture, const QColor* background) const
{
    painter.setFont(font());
    const int x = picture.width() + kCaptionGap;
    const int y = height() / 2 - textHeight(*this, font()) / 2;
    if (background)
        painter.fillRect(x, y, textWidth(*this, font(), ftext), textHeight(*this, font()), *background);
    painter.setPen(fontColor(*this));
    textOut(painter, x, y, ftext);
}

} // namespace controls
