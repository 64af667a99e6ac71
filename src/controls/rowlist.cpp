#include "controls/rowlist.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

#include "skins/colors.h"

namespace controls {

namespace {
constexpr int kDefaultFontSize = 12;
} // namespace

RowList::RowList(QWidget* owner, int repeatfloor, const QString& fontfamily)
    : TouchList(owner, repeatfloor), fcolor(skins::clWindow), ffont(fontfamily)
{
    ffont.setPointSize(kDefaultFontSize);
    canvasfont_ = ffont;
    setMouseTracking(true);
}

void RowList::setlinespacing(float v)
{
    flinespacing = v < 1.0f ? 1.0f : v;
    Resize();
}

int32_t RowList::lineheight() const
{
    const QFontMetrics metrics(canvasfont_, this);
    return std::max(1, int(std::nearbyint(metrics.height() * double(flinespacing))));
}

int32_t RowList::rowsfitting() const
{
    return int(std::nearbyint(double(height() - 2 * topborder) / itemheight));
}

void RowList::resizeEvent(QResizeEvent* /*event*/)
{
    Resize();
    Paint();
}

} // namespace controls
