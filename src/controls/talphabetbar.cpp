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
constexpr int kUprightGap = 1;            // between the keys of an upright bar

// The theme's letter key `name`, its see-through colour (that of its top-left pixel) made clear. An
// upright bar's 26 keys share the column between the corners, so there only the part that shows is
// kept: it fills the key's cell but for a pixel between neighbours. A lying bar's keys keep the
// picture's border.
QImage letterKey(const QString& name, bool upright)
{
    const library::tskin& skin = library::config.theme.salphabuttons;
    const QImage picture = skins::LoadSkinResource(name, skin.Skin, skin.Color, false);
    if (picture.isNull()) return picture;
    const QImage keyed = keyedOut(picture, picture.pixel(0, 0));
    if (!upright) return keyed;
    QRect shown;
    for (int y = 0; y < keyed.height(); ++y)
        for (int x = 0; x < keyed.width(); ++x)
            if (qAlpha(keyed.pixel(x, y)) != 0) shown |= QRect(x, y, 1, 1);
    return keyed.copy(shown);
}
} // namespace

TAlphaBar::TAlphaBar(QWidget* owner) : OwnerDrawn(owner) {}

void TAlphaBar::Paint()
{
    vcanv = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    vcanv.fill(kCutOut);
    buttonheight = std::max(width(), height()) / static_cast<double>(kLetters);
    const double bh = buttonheight;
    const QImage up = letterKey(QStringLiteral("AlphaButtonUp"), upright());
    const QImage down = letterKey(QStringLiteral("AlphaButtonDown"), upright());

    QPainter painter(&vcanv);
    painter.setFont(font());
    painter.setPen(fontColor(*this));
    const QFontMetrics metrics(font(), this);
    for (int i = 0; i < kLetters; ++i) {
        const int from = library::roundHalfEven(i * bh);
        const int to = library::roundHalfEven(i * bh + bh);
        const QRect tr = upright() ? QRect(0, from, width(), to - from) : QRect(from, 0, to - from, height());
        const QImage& picture = buttonmatrix[i].down ? down : up;
        if (!picture.isNull())
            painter.drawImage(upright() ? tr.adjusted(0, 0, 0, -kUprightGap) : tr, picture);
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
