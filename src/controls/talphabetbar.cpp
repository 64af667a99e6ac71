#include "controls/talphabetbar.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "controls/drawing.h"
#include "library/global.h"
#include "library/rounding.h"
#include "platform/virtualkeys.h"
#include "skins/imaging.h"
#include "skins/resourceskins.h"

namespace controls {

namespace {
constexpr int kLetters = 26;
constexpr QRgb kCutOut = qRgb(255, 0, 0); // never drawn by the buttons: cut out of the shape
} // namespace

TAlphaBar::TAlphaBar(QWidget* owner) : OwnerDrawn(owner) {}

void TAlphaBar::Paint()
{
    vcanv = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    vcanv.fill(kCutOut);
    buttonheight = std::max(width(), height()) / static_cast<double>(kLetters);
    const double bh = buttonheight;
    const QSize cell =
        upright() ? QSize(width(), library::roundHalfEven(bh)) : QSize(library::roundHalfEven(bh), height());
    const library::tskin& skin = library::config.theme.salphabuttons;
    const QImage up =
        skins::LoadSkinResource(QStringLiteral("AlphaButtonUp"), skin.Skin, skin.Color, false).scaled(cell);
    const QImage down =
        skins::LoadSkinResource(QStringLiteral("AlphaButtonDown"), skin.Skin, skin.Color, false).scaled(cell);

    QPainter painter(&vcanv);
    painter.setFont(font());
    painter.setPen(fontColor(*this));
    const QFontMetrics metrics(font(), this);
    for (int i = 0; i < kLetters; ++i) {
        const int from = library::roundHalfEven(i * bh);
        const int to = library::roundHalfEven(i * bh + bh);
        const QRect tr = upright() ? QRect(0, from, width(), to - from) : QRect(from, 0, to - from, height());
        const QImage& picture = buttonmatrix[i].down ? down : up;
        if (!picture.isNull()) drawKeyed(painter, tr, picture, picture.pixel(0, 0));
        const QString letter(QChar(u'a' + i));
        textOut(painter, tr.left() + tr.width() / 2 - metrics.horizontalAdvance(letter) / 2,
                tr.top() + tr.height() / 2 - metrics.height() / 2, letter);
        buttonmatrix[i].tr = tr;
    }
    painter.end();
    showFace(vcanv);
}

void TAlphaBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    reshape();
}

void TAlphaBar::reshape()
{
    if (width() == 0) return;
    Paint();
    setMask(skins::maskRegion(vcanv, kCutOut));
}

// The first cell whose span holds the pointer strictly is pressed; a press on a border
// between two cells presses none.
void TAlphaBar::mousePressEvent(QMouseEvent* event)
{
    notePress(*event);
    for (auto& button : buttonmatrix) {
        const double from = upright() ? button.tr.top() : button.tr.left();
        const double at = upright() ? pointer().y() : pointer().x();
        if (from < at && at < from + buttonheight) {
            button.down = true;
            break;
        }
    }
    Paint();
}

void TAlphaBar::mouseReleaseEvent(QMouseEvent* event)
{
    (void)noteRelease(*event);
    for (int i = 0; i < kLetters; ++i) {
        if (buttonmatrix[i].down) Q_EMIT OnVirtualKey(this, static_cast<uint16_t>(platform::vk::KeyA + i));
        buttonmatrix[i].down = false;
    }
    Paint();
}

} // namespace controls
