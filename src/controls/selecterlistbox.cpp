#include "controls/selecterlistbox.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "controls/autorepeat.h"
#include "controls/drawing.h"
#include "skins/colors.h"

namespace controls {

namespace {

constexpr int kRepeatFloor = 40;
constexpr int kMoreFontSize = 7;

// `arrow` at least `side` on its shorter side, in its own proportions; its see-through colour stays exact.
QImage atLeast(const QImage& arrow, int side)
{
    const int shorter = std::min(arrow.width(), arrow.height());
    if (shorter <= 0 || shorter >= side) return arrow;
    return arrow.scaled(arrow.size() * side / shorter, Qt::KeepAspectRatio, Qt::FastTransformation);
}

} // namespace

TSelecterListBox::TSelecterListBox(QWidget* owner) : RowList(owner, kRepeatFloor, QStringLiteral("Garamond"))
{
    arrows = loadarrows(QStringLiteral("SELECTER"));
    fitems.setOnChange([this] { itemsChanged(); });
    // A new list holds one empty row until its owner clears it.
    fitems.add(QString());
}

void TSelecterListBox::clear()
{
    topmost = 0;
    fitems.clear();
    fitemindex = -1;
}

void TSelecterListBox::selectall()
{
    fselected.fill(true);
    Paint();
}

void TSelecterListBox::selectnone()
{
    fselected.fill(false);
    Paint();
}

bool TSelecterListBox::IsSelected(int32_t n) const
{
    return n >= 0 && n < fcount && fselected.at(n);
}

void TSelecterListBox::setfont(const QFont& f)
{
    copyfontlook(ffont, f);
    Resize();
}

void TSelecterListBox::Resize()
{
    canvasfont_ = ffont;
    itemheight = lineheight();
    topborder = itemheight;
    displayitems = rowsfitting();
}

void TSelecterListBox::Paint()
{
    QImage image = newface(size(), logicalDpiY());
    QPainter painter(&image);
    painter.setFont(canvasfont_);
    if (fdrawmode) painter.fillRect(image.rect(), skins::tcolorToQColor(fcolor));
    matrix = QVector<tmatrix>(fcount + 2);
    stale_ = false;
    int last = topmost + displayitems - 1;
    if (last >= fcount - 1) last = fcount - 1;
    const QFontMetrics metrics(canvasfont_, &image);
    const QColor selected = palette().color(QPalette::WindowText);
    int y = topborder;
    for (int i = std::max(topmost, 0); i <= last; ++i) {
        painter.setPen(fselected.at(i) ? selected : skins::tcolorToQColor(kListGrey));
        int offset = 0;
        if (fdrawmode && fshownumbers) {
            offset = drawrowlabel(painter, fmargin, y, i + 1, image.width());
        } else if (fshownumbers) {
            offset = metrics.horizontalAdvance(rowlabel(i + 1)) + image.width() / 20;
        }
        // A title too long for the list ends in an ellipsis inside it.
        const QString shown =
            metrics.elidedText(fitems[i], Qt::ElideRight, std::max(0, image.width() - 2 * fmargin - offset));
        if (fdrawmode) textOut(painter, fmargin + offset, y, shown);
        // Only the written text can be touched.
        matrix[i] =
            tmatrix{fmargin, y, fmargin + offset + metrics.horizontalAdvance(shown), y + metrics.height(), i};
        y += itemheight;
    }
    drawBoxes(painter, image.size());
    painter.end();
    if (fdrawmode) showFace(image);
}

void TSelecterListBox::drawBoxes(QPainter& painter, const QSize& size)
{
    const bool showTop = topmost != 0;
    const bool showBottom = topmost + displayitems - 1 < fcount - 1;
    painter.setFont(panelFont(kMoreFontSize));
    painter.setPen(skins::tcolorToQColor(kListGrey));
    const QString more = QStringLiteral("More");
    const int w = size.width();
    const int h = size.height();
    const int tw = painter.fontMetrics().horizontalAdvance(more);
    const int th = painter.fontMetrics().height();
    if (showTop) {
        const QImage arrow = atLeast(marked == kTopBox ? arrows.uppressed : arrows.upnormal, fkeyside);
        const int x = w / 2 - arrow.width() / 2 + fmargin;
        drawKeyed(painter, QRect(QPoint(x, 1), arrow.size()), arrow, kArrowKey);
        matrix[fcount] = tmatrix{x, 1, x + arrow.width() + fmargin, 1 + arrow.height(), kTopBox};
        textOut(painter, w / 2 - tw / 2, arrow.height() + 2, more);
    }
    if (showBottom) {
        const QImage arrow = atLeast(marked == kBottomBox ? arrows.downpressed : arrows.downnormal, fkeyside);
        const int x = w / 2 - arrow.width() / 2;
        const int top = h - arrow.height() - 1;
        drawKeyed(painter, QRect(QPoint(x, top), arrow.size()), arrow, kArrowKey);
        matrix[fcount + 1] = tmatrix{x, top, x + arrow.width(), h - 1, kBottomBox};
        textOut(painter, w / 2 - tw / 2, top - th, more);
    }
}

void TSelecterListBox::MouseDown(int x, int y)
{
    fitemindex = -1;
    repeattimer->press();
    // Rows added or removed since the last rendering: hit what the list holds now.
    if (stale_) Paint();
    const int i = hitscrolllist(matrix, QPoint(x, y), topmost);
    if (i < 0) return;
    const int32_t item = matrix[i].item;
    marked = item;
    fitemindex = item;
    if (item >= 0) fselected[item] = !fselected[item];
    if (item == kBottomBox) ++topmost;
    if (item == kTopBox && topmost > 0) --topmost;
    Q_EMIT OnClick(this);
    Paint();
}

void TSelecterListBox::MouseUp(int /*x*/, int /*y*/)
{
    repeattimer->release();
    marked = kNothing;
    Paint();
}

void TSelecterListBox::MouseMove(int x, int y)
{
    xx = x;
    yy = y;
}

void TSelecterListBox::itemsChanged()
{
    // Rows that are new, however many arrive at once, start unselected, as does the spare flag.
    const int before = fcount;
    fcount = fitems.count();
    fselected.resize(fcount + 1);
    for (int i = std::min(before, fcount); i <= fcount; ++i)
        fselected[i] = false;
    stale_ = true;
}

void TSelecterListBox::repeattimerRepeat()
{
    // A held row toggles once; a held box keeps scrolling.
    if (marked < 0) MouseDown(xx, yy);
}

} // namespace controls
